#include <gtest/gtest.h>
#include <zlib.h>

#include "common/Utf8.h"
#include "net/LoopbackServer.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32WinHttp.h"
#include "support/WinHttpX.h"

namespace torvik::win32 {
namespace {

using wintest::LoopbackServer;

const std::string kB = "-----------------------------7cf87224d2020a";

std::string BodyOf(const std::string& request) {
    return request.substr(request.find("\r\n\r\n") + 4);
}
std::string HeadOf(const std::string& request) {
    return request.substr(0, request.find("\r\n\r\n") + 2);
}

class WinHttpXWinTest : public ::testing::Test {
protected:
    Win32WinHttpTransport transport;
    Win32AnsiCodePage ansi;
    Win32FileSystem files;
    TWinHttpX http{transport, ansi, files};
    LoopbackServer server;
};

TEST_F(WinHttpXWinTest, MultipartPostReachesTheServerByteForByte) {
    http.MultipartPost = true;
    http.AddMultipartVar(L"build", L"67");
    http.AddMultipartVar(L"mode", L"first");
    http.AddMultipartVarA(L"data", std::string("\x00\x01\xff", 3));
    http.AddMultipartVar(L"mode", L"community_get_notes");
    server.Enqueue({LoopbackServer::Http("HTTP/1.1 200 OK", {"Content-Type: text/plain"},
                                         "[notes]\r\nnone\r\n")});
    http.ExecuteUrl(server.Url(L"/VersionChecker.aspx"));

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string expected =
        "--" + kB + "\r\nContent-Disposition: form-data; name=\"build\"\r\n\r\n67\r\n" + "--" + kB +
        "\r\nContent-Disposition: form-data; name=\"mode\"\r\n\r\ncommunity_get_notes\r\n" + "--" +
        kB +
        "\r\nContent-Disposition: form-data; name=\"data\"; filename=\"\"\r\n"
        "Content-Transfer-Encoding: binary\r\n\r\n" +
        std::string("\x00\x01\xff", 3) + "\r\n--" + kB + "--\r\n";
    EXPECT_EQ(BodyOf(requests[0]), expected);
    const std::string head = HeadOf(requests[0]);
    EXPECT_EQ(head.rfind("POST /VersionChecker.aspx HTTP/1.1\r\n", 0), 0u) << head;
    EXPECT_NE(head.find("Content-Type: multipart/form-data; boundary=" + kB + "\r\n"),
              std::string::npos)
        << head;
    EXPECT_NE(head.find("Content-Length: " + std::to_string(expected.size()) + "\r\n"),
              std::string::npos);
    EXPECT_NE(head.find("User-Agent: Mozilla/4.0 (compatible; MSIE 8.0;"), std::string::npos);
    EXPECT_EQ(http.ResultSl(), (std::vector<std::wstring>{L"[notes]", L"none"}));
    EXPECT_EQ(http.errorCode(), 0);
}

TEST_F(WinHttpXWinTest, LaterRequestsCarryEveryEarlierField) {
    http.MultipartPost = true;
    http.AddMultipartVar(L"b", L"1");
    http.ExecuteUrl(server.Url(L"/s"));
    http.AddMultipartVar(L"a", L"2");
    http.ExecuteUrl(server.Url(L"/s"));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    const std::string body = BodyOf(requests[1]);
    EXPECT_NE(body.find("name=\"b\"\r\n\r\n1\r\n"), std::string::npos);
    EXPECT_LT(body.find("name=\"b\""), body.find("name=\"a\"\r\n\r\n2\r\n"));
}

TEST_F(WinHttpXWinTest, GetCarriesOneBlankAndThe404PageIsTheReply) {
    server.Enqueue({LoopbackServer::Http("HTTP/1.1 404 Not Found", {"Content-Type: text/html"},
                                         "<html>\r\n<b>gone</b>\r\n</html>")});
    http.Get(server.Url(L"/CheckUpdates.aspx?app=torvik_updater&build=67"));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string head = HeadOf(requests[0]);
    EXPECT_EQ(head.rfind("GET /CheckUpdates.aspx?app=torvik_updater&build=67 HTTP/1.1\r\n", 0), 0u)
        << head;
    EXPECT_NE(head.find("Content-Length: 1\r\n"), std::string::npos) << head;
    EXPECT_EQ(BodyOf(requests[0]), " ");
    EXPECT_EQ(http.errorCode(), 404);
    EXPECT_EQ(http.errorMessage(), L"Not Found");
    EXPECT_EQ(http.ResultSl(), (std::vector<std::wstring>{L"<html>", L"<b>gone</b>", L"</html>"}));
}

TEST_F(WinHttpXWinTest, ALargeBodyArrivesWhole) {
    http.RequestMethod = HTTPrm_Post;
    http.AddVariable(L"d", std::wstring(39998, L'x'));
    int pieces = 0;
    http.OnUploadProgress = [&](TWinHttpX&, int64_t, int64_t) { ++pieces; };
    http.ExecuteUrl(server.Url(L"/up"));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(HeadOf(requests[0]).find("Content-Length: 40000\r\n"), std::string::npos);
    EXPECT_EQ(BodyOf(requests[0]), "d=" + std::string(39998, 'x'));
    EXPECT_EQ(pieces, 2);
}

TEST_F(WinHttpXWinTest, CharsetAndCompressedReplies) {
    server.Enqueue({LoopbackServer::Http("HTTP/1.1 200 OK",
                                         {"Content-Type: text/plain; charset=utf-8"}, "\xc3\xbc")});
    server.Enqueue({LoopbackServer::Http("HTTP/1.1 200 OK",
                                         {"Content-Type: text/plain; charset=UTF-8"}, "\xc3\xbc")});
    z_stream z{};
    ASSERT_EQ(deflateInit2(&z, 6, Z_DEFLATED, 16 + 15, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string plain = "[latest version]\r\n1.0.0.68";
    std::string gz(256, '\0');
    z.next_in = reinterpret_cast<Bytef*>(plain.data());
    z.avail_in = static_cast<uInt>(plain.size());
    z.next_out = reinterpret_cast<Bytef*>(gz.data());
    z.avail_out = static_cast<uInt>(gz.size());
    ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    gz.resize(z.total_out);
    deflateEnd(&z);
    server.Enqueue({LoopbackServer::Http("HTTP/1.1 200 OK", {"Content-Type: gzip"}, gz)});

    http.Get(server.Url(L"/a"));
    EXPECT_EQ(http.ResponseText(), L"\u00fc\r\n");
    http.Get(server.Url(L"/b"));
    EXPECT_EQ(http.ResponseText(), ansi.ToText("\xc3\xbc") + L"\r\n");
    http.Get(server.Url(L"/c"));
    EXPECT_EQ(http.ResultSl(), (std::vector<std::wstring>{L"[latest version]", L"1.0.0.68"}));
}

TEST_F(WinHttpXWinTest, RefusedConnectionsAndForeignSchemesRaise) {
    const std::wstring url =
        L"http://127.0.0.1:" + std::to_wstring(LoopbackServer::RefusingPort()) + L"/x";
    try {
        http.Get(url);
        FAIL() << "no error";
    } catch (const EWinHttpClientException& e) {
        const std::wstring suffix = L" - URL:" + url;
        ASSERT_GT(e.Message().size(), suffix.size()) << StringToUtf8(e.Message());
        EXPECT_EQ(e.Message().substr(e.Message().size() - suffix.size()), suffix);
    }
    EXPECT_FALSE(http.Connected());
    EXPECT_THROW(http.Get(L"ftp://127.0.0.1/file"), EWinHttpClientException);
}

TEST_F(WinHttpXWinTest, RedirectsAreFollowedAndReported) {
    server.Enqueue({LoopbackServer::Http("HTTP/1.1 302 Found",
                                         {"Location: " + StringToUtf8(server.Url(L"/new"))}, "")});
    server.Enqueue({LoopbackServer::Http("HTTP/1.1 200 OK", {}, "moved")});
    std::vector<std::wstring> redirects;
    int notifications = 0;
    http.OnRedirect = [&](TWinHttpX&, const std::wstring& url) { redirects.push_back(url); };
    http.OnStatusChange = [&](TWinHttpX&, uint32_t, const void*, uint32_t) { ++notifications; };
    http.Get(server.Url(L"/old"));
    EXPECT_EQ(http.ResponseText(), L"moved\r\n");
    EXPECT_EQ(redirects, std::vector<std::wstring>{server.Url(L"/new")});
    EXPECT_GT(notifications, 0);
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[1].rfind("GET /new HTTP/1.1\r\n", 0), 0u);
}

TEST_F(WinHttpXWinTest, BlanksInThePathAreEscapedOnTheWire) {
    http.Get(server.Url(L"/CheckUpdates.aspx?app=torvik_updater&v=1 2"));
    ASSERT_EQ(server.Requests().size(), 1u);
    const std::string line = server.Requests()[0].substr(0, server.Requests()[0].find("\r\n"));
    EXPECT_EQ(line, "GET /CheckUpdates.aspx?app=torvik_updater&v=1%202 HTTP/1.1");
}

} // namespace
} // namespace torvik::win32
