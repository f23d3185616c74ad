#include <gtest/gtest.h>

#include <zlib.h>

#include "common/Error.h"
#include "net/LoopbackServer.h"
#include "platform/win32/Win32InternetApi.h"
#include "platform/win32/Win32System.h"
#include "protocol/Compression.h"
#include "service/IEHttp.h"

namespace torvik::win32 {
namespace {

using wintest::LoopbackServer;

const std::string kBoundary = "-----------------------------7cf87224d2020a";

struct IEHttpWin : ::testing::Test {
    Win32InternetApi api;
    Win32AnsiCodePage ansi;
    TIEHttp http{{api, ansi, nullptr, nullptr, nullptr}};
    LoopbackServer server;

    std::wstring ExecuteError() {
        try {
            http.Execute();
        } catch (const TorvikError& e) {
            return e.Message();
        }
        return L"";
    }
    std::string OnlyRequest() {
        const auto requests = server.Requests();
        return requests.size() == 1 ? requests[0] : "";
    }
};

std::string BodyOf(const std::string& request) {
    const size_t end = request.find("\r\n\r\n");
    return end == std::string::npos ? "" : request.substr(end + 4);
}

std::string GzipMember(const std::string& text) {
    z_stream z{};
    deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
    std::string out(text.size() + 64, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

TEST_F(IEHttpWin, MultipartPostArrivesByteForByte) {
    server.Enqueue({LoopbackServer::Http(
        "HTTP/1.1 200 OK", {"Content-Type: text/html; charset=utf-8"}, "[result]\r\nok")});
    http.SetMultipartPOST(true);
    http.SetURL(server.Url(L"/VersionChecker.aspx"));
    http.AddMultipartVarW(L"build", L"1");
    http.AddMultipartVarW(L"header", L"Windows NT");
    http.AddMultipartVarW(L"mode", L"check_for_updates");
    http.AddMultipartVarBin(L"data", L"", std::string("\x78\x01\x0D\x0A\x00", 5));
    http.Execute();

    const std::string request = OnlyRequest();
    EXPECT_EQ(request.substr(0, request.find("\r\n")), "POST /VersionChecker.aspx HTTP/1.0");
    EXPECT_NE(request.find("\r\nContent-Type: multipart/form-data; boundary=" + kBoundary + "\r\n"),
              std::string::npos);
    EXPECT_NE(request.find("\r\nAccept-Encoding: gzip, deflate\r\n"), std::string::npos);
    EXPECT_NE(request.find("User-Agent: TIEHttp\r\n"), std::string::npos);
    const std::string part = "--" + kBoundary + "\r\nContent-Disposition: form-data; name=\"";
    EXPECT_EQ(BodyOf(request),
              part + "build\"\r\n\r\n1\r\n" + part + "header\"\r\n\r\nWindows NT\r\n" + part +
                  "mode\"\r\n\r\ncheck_for_updates\r\n" + part +
                  "data\"; filename=\"\"\r\nContent-Transfer-Encoding: binary\r\n\r\n" +
                  std::string("\x78\x01\x0D\x0A\x00", 5) + "\r\n--" + kBoundary + "--\r\n");
    EXPECT_EQ(http.ResultSl, (std::vector<std::wstring>{L"[result]", L"ok"}));
    EXPECT_EQ(http.ErrorCode, 0);
}

TEST_F(IEHttpWin, GetCarriesQueryAndGetStr) {
    http.SetURL(server.Url(L"/CheckUpdates.aspx?app=torvik_updater"));
    http.SetGetStr(L"build=1");
    http.Execute();
    const std::string request = OnlyRequest();
    EXPECT_EQ(request.substr(0, request.find("\r\n")),
              "GET /CheckUpdates.aspx?app=torvik_updater&build=1 HTTP/1.0");
}

TEST_F(IEHttpWin, ContentSizeFromHeaders) {
    server.Enqueue({LoopbackServer::Http("HTTP/1.1 200 OK", {}, "abc", false)});
    http.ExecuteUrl(server.Url(L"/a"));
    EXPECT_EQ(http.ContentSize(), 1u) << "no Content-Length";
    EXPECT_EQ(http.BytesReadTotal(), 3u);

    server.Enqueue(
        {LoopbackServer::Http("HTTP/1.1 200 OK", {"Custom-Content-Length: 4000"}, "abc", false)});
    http.ExecuteUrl(server.Url(L"/b"));
    EXPECT_EQ(http.ContentSize(), 4000u);

    server.Enqueue({LoopbackServer::Http("HTTP/1.1 200 OK", {}, "abcdef")});
    http.ExecuteUrl(server.Url(L"/c"));
    EXPECT_EQ(http.ContentSize(), 6u);
    EXPECT_FLOAT_EQ(http.GetProgress(), 1.0f);
}

TEST_F(IEHttpWin, CharsetDecidesTheDecoding) {
    server.Enqueue({LoopbackServer::Http(
        "HTTP/1.1 200 OK", {"Content-Type: text/plain; charset=utf-8"}, "gr\xC3\xBC\xC3\x9F")});
    http.ExecuteUrl(server.Url(L"/utf8"));
    EXPECT_EQ(http.ResultSl, std::vector<std::wstring>{L"gr\u00fc\u00df"});

    server.Enqueue({LoopbackServer::Http(
        "HTTP/1.1 200 OK", {"Content-Type: text/plain; charset=UTF-8"}, "gr\xC3\xBC")});
    http.ExecuteUrl(server.Url(L"/ansi"));
    EXPECT_EQ(http.ResultSl, std::vector<std::wstring>{ansi.ToText("gr\xC3\xBC")});
    EXPECT_NE(http.ResultSl[0], L"gr\u00fc");
}

TEST_F(IEHttpWin, CompressedRepliesAreExpanded) {
    const std::string text = "[programs]\r\nfoo|1.0";
    server.Enqueue(
        {LoopbackServer::Http("HTTP/1.1 200 OK", {},
                              std::string(kCompressedReplyMarker, kCompressedReplyMarkerSize) +
                                  ZlibCompressByteString(text))});
    http.ExecuteUrl(server.Url(L"/zlib"));
    EXPECT_EQ(http.ResultMs, text);

    server.Enqueue(
        {LoopbackServer::Http("HTTP/1.1 200 OK", {"Content-Encoding: gzip"}, GzipMember(text))});
    http.ExecuteUrl(server.Url(L"/gzip"));
    EXPECT_EQ(http.ResultMs, text);
    EXPECT_EQ(http.ResultSl, (std::vector<std::wstring>{L"[programs]", L"foo|1.0"}));
}

TEST_F(IEHttpWin, SilentServerTimesOut) {
    server.Enqueue({"", true});
    http.Timeout = 1;
    http.SetURL(server.Url(L"/silent"));
    EXPECT_EQ(ExecuteError(), L"");
    EXPECT_EQ(http.ErrorCode, 100);
    EXPECT_FALSE(http.Canceled());
    EXPECT_TRUE(http.ResultSl.empty());
}

TEST_F(IEHttpWin, StopRequestCancels) {
    server.Enqueue({"", true});
    http.TimerIntervalSeconds = 1;
    http.OnTimer = [](TIEHttp& h) { h.StopRequest(); };
    http.SetURL(server.Url(L"/stop"));
    EXPECT_EQ(ExecuteError(), L"");
    EXPECT_EQ(http.ErrorCode, 101);
    EXPECT_TRUE(http.Canceled());
}

TEST_F(IEHttpWin, RefusedConnection) {
    http.SetURL(L"http://127.0.0.1:" + std::to_wstring(LoopbackServer::RefusingPort()) + L"/x");
    EXPECT_EQ(ExecuteError(), L"Wininet error # 12029 : (Cannot connect)");
}

TEST_F(IEHttpWin, PacketsArriveInPieces) {
    server.Enqueue(
        {LoopbackServer::Http("HTTP/1.1 200 OK", {}, std::string(100000, 'x')), false, 40000, 150});
    int events = 0;
    http.OnPacketRead = [&](TIEHttp& h) {
        ++events;
        EXPECT_LE(h.BytesReadTotal(), 100000u);
    };
    http.ExecuteUrl(server.Url(L"/pieces"));
    EXPECT_EQ(http.ResultMs.size(), 100000u);
    EXPECT_GE(events, 2);
    EXPECT_EQ(http.ErrorCode, 0);
}

} // namespace
} // namespace torvik::win32
