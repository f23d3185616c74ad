#include <gtest/gtest.h>

#include "common/Error.h"
#include "fakes/FakeInternetApi.h"
#include "protocol/Compression.h"
#include "service/IEHttp.h"

namespace torvik {
namespace {

using testing::FakeInternetApi;

const std::string kBoundary = "-----------------------------7cf87224d2020a";

struct IEHttpFixture {
    FakeInternetApi api;
    Latin1CodePage ansi;
    TIEHttp http{{api, ansi, nullptr, nullptr, nullptr}};
};

// Runs Execute and returns the exception text, or "" when none was raised.
std::wstring ExecuteError(TIEHttp& http) {
    try {
        http.Execute();
    } catch (const TorvikError& e) {
        return e.Message();
    }
    return L"";
}

TEST(IEHttp, MultipartBodyByteForByte) {
    IEHttpFixture f;
    f.http.SetMultipartPOST(true);
    f.http.SetURL(L"127.0.0.1:1245/VersionChecker.aspx");
    f.http.AddMultipartVarW(L"build", L"67");
    f.http.AddMultipartVarBin(L"data", L"", std::string("\x78\x01\x00\xFF", 4));
    f.http.AddMultipartVarW(L"header", L"first");
    f.http.AddMultipartVarW(L"mode", L"check_for_updates");
    f.http.AddMultipartVarW(L"header", L"h\u00e9");
    f.http.AddMultipartVarW(L"Mode", L"x");
    f.api.chunks = {"[ok]\r\n"};
    f.http.Execute();

    EXPECT_EQ(f.api.sent.host, L"127.0.0.1");
    EXPECT_EQ(f.api.sent.port, 1245);
    EXPECT_EQ(f.api.sent.method, L"POST");
    EXPECT_EQ(f.api.sent.path, L"/VersionChecker.aspx");
    EXPECT_EQ(f.api.sent.agent, L"TIEHttp") << "no line breaks may reach the header block";
    EXPECT_EQ(f.api.sent.headers, L"Content-Type: multipart/form-data; boundary=" +
                                      std::wstring(kBoundary.begin(), kBoundary.end()) +
                                      L"\r\nAccept-Encoding: gzip, deflate\r\n");
    const std::string part = "--" + kBoundary + "\r\nContent-Disposition: form-data; name=\"";
    EXPECT_EQ(f.api.sent.body,
              part + "build\"\r\n\r\n67\r\n" + part + "header\"\r\n\r\nh\xC3\xA9\r\n" + part +
                  "mode\"\r\n\r\ncheck_for_updates\r\n" + part + "Mode\"\r\n\r\nx\r\n" + part +
                  "data\"; filename=\"\"\r\n"
                  "Content-Transfer-Encoding: binary\r\n\r\n" +
                  std::string("\x78\x01\x00\xFF", 4) + "\r\n" + "--" + kBoundary + "--\r\n");
    EXPECT_EQ(f.http.ResultSl, std::vector<std::wstring>{L"[ok]"});
    EXPECT_TRUE(f.http.Multipart().Empty()) << "the fields are used up";
    EXPECT_EQ(f.http.WorkingStatus(), 0);
}

TEST(IEHttp, QueryPairsBecomeFieldsInMultipartMode) {
    IEHttpFixture f;
    f.http.SetMultipartPOST(true);
    f.http.AddMultipartVarW(L"build", L"1");
    f.http.SetURL(L"http://127.0.0.1/s.aspx?mode=search&q=a%20b");
    f.http.Execute();
    const std::string part = "--" + kBoundary + "\r\nContent-Disposition: form-data; name=\"";
    EXPECT_EQ(f.api.sent.body, part + "build\"\r\n\r\n1\r\n" + part + "mode\"\r\n\r\nsearch\r\n" +
                                   part + "q\"\r\n\r\na%20b\r\n--" + kBoundary + "--\r\n");

    f.http.SetURL(L"http://127.0.0.1/s.aspx?broken");
    EXPECT_EQ(ExecuteError(f.http), L"TIEHttp error: could not convert broken to multipart");
    f.http.SetURL(L"http://127.0.0.1/s.aspx");
    EXPECT_EQ(ExecuteError(f.http), L"TIEHttp error: multipart error: no variables to post");
}

TEST(IEHttp, GetSendsQueryAndGetStrInThePath) {
    IEHttpFixture f;
    f.http.SetURL(L"127.0.0.1:8080/CheckUpdates.aspx?app=torvik updater");
    f.http.SetGetStr(L"build=67");
    f.http.Execute();
    EXPECT_EQ(f.api.sent.method, L"GET");
    EXPECT_EQ(f.api.sent.path, L"/CheckUpdates.aspx?app=torvik%20updater&build=67");
    EXPECT_EQ(f.api.sent.body, "");
    EXPECT_EQ(f.api.sent.headers, L"Accept-Encoding: gzip, deflate\r\n");
    EXPECT_EQ(f.http.GetStr(), L"") << "used up by the request";
    f.http.Execute();
    EXPECT_EQ(f.api.sent.path, L"/CheckUpdates.aspx?app=torvik%20updater");

    f.http.SetGetStr(L"x=1");
    f.http.SetURL(L"http://127.0.0.1/plain");
    f.http.Execute();
    EXPECT_EQ(f.api.sent.path, L"/plain?x=1");
}

TEST(IEHttp, UrlEncodedPostJoinsQueryAndPostStr) {
    IEHttpFixture f;
    f.http.SetRequestMethod(L"post");
    f.http.SetURL(L"http://user:pw@127.0.0.1/f.aspx?a=1");
    f.http.SetPostStr(L"text=\u00fc");
    f.http.AllowCompression = false;
    f.http.Execute();
    EXPECT_EQ(f.api.sent.body, "a=1&text=\xC3\xBC");
    EXPECT_EQ(f.api.sent.headers, L"Content-Type: application/x-www-form-urlencoded\r\n");
    EXPECT_EQ(f.api.sent.user, L"user");
    EXPECT_EQ(f.api.sent.password, L"pw");
    EXPECT_EQ(f.http.PostStr(), L"");

    // A GET after the POST carries no stale Content-Type.
    f.http.SetRequestMethod(L"GET");
    f.http.Execute();
    EXPECT_EQ(f.api.sent.headers, L"");
}

TEST(IEHttp, MethodRulesAndContentTypes) {
    IEHttpFixture f;
    EXPECT_THROW(f.http.SetRequestMethod(L"PUT"), TorvikError);
    f.http.SetMultipartPOST(true);
    EXPECT_EQ(f.http.RequestMethod(), L"POST");
    f.http.SetMultipartPOST(false);
    EXPECT_EQ(f.http.RequestMethod(), L"POST");
    f.http.SetURL(L"http://127.0.0.1/x");
    f.http.SetPostStr(L"a=b");
    f.http.Execute();
    EXPECT_EQ(f.http.GetRequestHeaderValue(L"content-type:"), L"application/x-www-form-urlencoded");

    f.http.AddMultipartVarW(L"a", L"b");
    EXPECT_EQ(f.http.ErrorMsg, L"TIEHttp not in multipart mode");
    EXPECT_TRUE(f.http.Multipart().Empty());
}

TEST(IEHttp, ContentSizeAndCustomContentLength) {
    struct Case {
        uint32_t contentLength;
        std::wstring extraHeader;
        uint32_t size;
    };
    const Case cases[] = {
        {0, L"", 1},
        {5, L"", 5},
        {0, L"\r\nCustom-Content-Length: 12345", 12345},
        {0, L"\r\nCustom-Content-Length: 0", 1},
        {0, L"\r\nCustom-Content-Length: junk", 1},
        {0, L"\r\nCustom-Content-Length:4000", 4000},
        {0, L"\r\ncustom-content-length:\t77 ", 77},
        {0, L"\r\nCustom-Content-Length: 12junk", 1},
        {0, L"\r\nCustom-Content-Length: -5", 1},
        {0, L"\r\nCustom-Content-Length: 99999999999", 1},
        {7, L"\r\nCustom-Content-Length: 99", 7},
    };
    for (const auto& c : cases) {
        IEHttpFixture f;
        f.api.contentLength = c.contentLength;
        f.api.rawHeaders += c.extraHeader;
        f.api.chunks = {"hello"};
        f.http.ExecuteUrl(L"http://127.0.0.1/x");
        EXPECT_EQ(f.http.ContentSize(), c.size) << c.contentLength;
        EXPECT_EQ(f.http.BytesReadTotal(), 5u);
    }
}

TEST(IEHttp, DecodesByCharsetCaseSensitively) {
    struct Case {
        std::wstring contentType;
        std::string body;
        std::wstring line;
    };
    const Case cases[] = {
        {L"text/plain; charset=utf-8", "gr\xC3\xBC\xC3\x9F", L"gr\u00fc\u00df"},
        {L"text/plain; charset=UTF-8", "gr\xC3\xBC", L"gr\u00c3\u00bc"}, // read as ANSI
        {L"text/plain; charset=utf-16", std::string("h\0i\0\0\0x\0", 8), L"hi"},
        {L"text/plain", "caf\xE9", L"caf\u00e9"},
    };
    for (const auto& c : cases) {
        IEHttpFixture f;
        f.api.rawHeaders = L"HTTP/1.1 200 OK\r\nContent-Type: " + c.contentType;
        f.api.chunks = {c.body};
        f.http.ExecuteUrl(L"http://127.0.0.1/x");
        ASSERT_EQ(f.http.ResultSl.size(), 1u);
        EXPECT_EQ(f.http.ResultSl[0], c.line);
        EXPECT_EQ(f.http.ResultRaw, c.body);
        EXPECT_EQ(f.http.GetResponseHeaderValue(L"Content-Type"), c.contentType);
    }
}

TEST(IEHttp, CompressedReplyIsExpandedAndSplitIntoLines) {
    IEHttpFixture f;
    const std::string text = "[programs]\r\na|1\rb|2\nc|3";
    const std::string body = std::string(kCompressedReplyMarker, kCompressedReplyMarkerSize) +
                             ZlibCompressByteString(text);
    f.api.chunks = {body.substr(0, 5), body.substr(5)};
    int packetEvents = 0;
    f.http.OnPacketRead = [&](TIEHttp&) { ++packetEvents; };
    f.http.ExecuteUrl(L"http://127.0.0.1/x");
    EXPECT_EQ(f.http.ResultMs, text);
    EXPECT_EQ(f.http.ResultSl, (std::vector<std::wstring>{L"[programs]", L"a|1", L"b|2", L"c|3"}));
    EXPECT_EQ(f.http.debugTotalPackets, 2);
    EXPECT_GE(packetEvents, 1);
    EXPECT_EQ(packetEvents, f.http.debugTotalPacketEvents);
}

TEST(IEHttp, FailuresRaiseTheirTexts) {
    struct Case {
        const char* what;
        std::function<void(FakeInternetApi&)> script;
        std::wstring text;
    };
    const Case cases[] = {
        {"refused", [](auto& a) { a.sendError = 12029; },
         L"Wininet error # 12029 : (Cannot connect)"},
        {"unknown code", [](auto& a) { a.sendError = 12999; },
         L"Wininet error # 12999 : (Unknown WININET error # 12999)"},
        {"unknown authority is not waved through", [](auto& a) { a.sendError = 12045; },
         L"Wininet error # 12045 : (Invalid CA Cert)"},
        {"open", [](auto& a) { a.openFails = true; }, L"TIEHttp error: Could not open Internet"},
        {"connect", [](auto& a) { a.connectFails = true; },
         L"TIEHttp error: Could not connect to server 127.0.0.1"},
        {"no request handle",
         [](auto& a) {
             a.openRequestResult = {0, 0};
         },
         L"TIEHttp error: Could not open HTTP request"},
        {"request error",
         [](auto& a) {
             a.openRequestResult = {0, 12005};
         },
         L"Wininet error # 12005 : (Invalid URL)"},
        {"harmless request error",
         [](auto& a) {
             a.openRequestResult = {3, 183};
         },
         L""},
    };
    for (const auto& c : cases) {
        IEHttpFixture f;
        c.script(f.api);
        f.http.SetURL(L"http://127.0.0.1/x");
        EXPECT_EQ(ExecuteError(f.http), c.text) << c.what;
        EXPECT_EQ(f.http.WorkingStatus(), 0) << c.what;
        for (const auto& [handle, count] : f.api.Closes()) {
            EXPECT_EQ(count, 1) << c.what << ": handle " << handle << " closed once";
        }
    }
}

TEST(IEHttp, BadUrlsAndMisuseAreRefusedBeforeSending) {
    IEHttpFixture f;
    EXPECT_EQ(ExecuteError(f.http), L"TIEHttp: no url in execute method");

    f.http.SetURL(L"http://127.0.0.1:99999/x");
    EXPECT_EQ(ExecuteError(f.http).substr(0, 36), L"TIEHttp error: TIEHttp: Invalid URL.");
    f.http.SetURL(L"http://127.0.0.1");
    EXPECT_EQ(ExecuteError(f.http), L"TIEHttp error: TIEHttp: Empty URL");
    EXPECT_EQ(f.api.sent.host, L"") << "nothing was sent";

    f.http.SetURL(L"http://127.0.0.1/x");
    f.http.SetPostStr(L"a=b");
    EXPECT_EQ(ExecuteError(f.http), L"TIEHttp error: No PostStr allowed in GET method");
}

TEST(IEHttp, SecureChannelFollowsTheSchemeAndPort443) {
    IEHttpFixture f;
    const uint32_t secure = kInternetFlagSecure | kInternetFlagPragmaNoCache | kInternetFlagReload;
    const struct {
        const wchar_t* url;
        int port;
        uint32_t flags;
    } cases[] = {
        {L"https://127.0.0.1/x", 443, secure},
        {L"https://127.0.0.1:8443/x", 8443, secure},
        {L"HTTPS://127.0.0.1:1245/x", 1245, secure},
        {L"http://127.0.0.1:443/x", 443, secure},
        {L"http://127.0.0.1:8443/x", 8443, kInternetFlagReload},
        {L"127.0.0.1:1245/x", 1245, kInternetFlagReload},
    };
    for (const auto& c : cases) {
        f.http.ExecuteUrl(c.url);
        EXPECT_EQ(f.api.sent.port, c.port) << c.url;
        EXPECT_EQ(f.api.sent.flags, c.flags) << c.url;
    }
    f.http.ForceHttpReload = false;
    f.http.ExecuteUrl(L"http://127.0.0.1/x");
    EXPECT_EQ(f.api.sent.flags, 0u);
    EXPECT_TRUE(f.api.relaxed);
}

TEST(IEHttp, SilentServerTimesOutWithoutException) {
    IEHttpFixture f;
    f.api.silent = true;
    f.http.Timeout = 1;
    f.http.SetURL(L"http://127.0.0.1/x");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ExecuteError(f.http), L"");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(f.http.ErrorCode, 100);
    EXPECT_FALSE(f.http.Canceled());
    EXPECT_TRUE(f.http.ResultSl.empty());
    EXPECT_TRUE(f.api.WaitUntilClosed(3)) << "the worker ends on the closed session";
}

TEST(IEHttp, StopRequestCancels) {
    IEHttpFixture f;
    f.api.silent = true;
    f.http.TimerIntervalSeconds = 1;
    f.http.OnTimer = [](TIEHttp& http) {
        EXPECT_THROW(http.SetPostStr(L"x"), TorvikError);
        EXPECT_THROW(http.SetRequestMethod(L"POST"), TorvikError);
        http.StopRequest();
    };
    f.http.SetURL(L"http://127.0.0.1/x");
    EXPECT_EQ(ExecuteError(f.http), L"");
    EXPECT_EQ(f.http.ErrorCode, 101);
    EXPECT_TRUE(f.http.Canceled());
    EXPECT_EQ(f.http.debugTotalTimerEvents, 1);
    EXPECT_TRUE(f.api.WaitUntilClosed(3));
    for (const auto& [handle, count] : f.api.Closes()) {
        EXPECT_EQ(count, 1) << "handle " << handle;
    }
}

TEST(IEHttp, ReadsThatKeepFailingEndWithoutTimeout) {
    IEHttpFixture f;
    f.api.readError = 12030;
    f.http.Timeout = 0;
    f.http.FailedReadPause = std::chrono::milliseconds(0);
    f.http.SetURL(L"http://127.0.0.1/x");
    EXPECT_EQ(ExecuteError(f.http), L"Wininet error # 12030 : (Connection Aborted)");
    EXPECT_EQ(f.api.reads, IEHttpJob::kMaxFailedReadsWithoutTimeout);
}

TEST(IEHttp, AFailureInsideTheWorkerIsRaisedByExecute) {
    IEHttpFixture f;
    f.api.readThrows = true;
    f.http.SetURL(L"http://127.0.0.1/x");
    EXPECT_EQ(ExecuteError(f.http), L"TIEHttp error: std::bad_alloc");
}

TEST(IEHttp, ReplyPastTheDecompressionLimitIsATIEHttpError) {
    IEHttpFixture f;
    const std::string body = std::string(kCompressedReplyMarker, kCompressedReplyMarkerSize) +
                             ZlibCompressByteString(std::string(kMaxDecompressedSize + 1, 'a'));
    f.api.chunks = {body};
    f.http.SetURL(L"http://127.0.0.1/x");
    const std::wstring error = ExecuteError(f.http);
    EXPECT_EQ(error.rfind(L"TIEHttp error: Decompressed reply is larger than the limit", 0), 0u)
        << error;
}

TEST(IEHttp, ProgressTexts) {
    IEHttpFixture f;
    EXPECT_EQ(f.http.GetProgress(), 0.0f);
    EXPECT_EQ(f.http.GetStringPercentage(), L"Bytes Read: 0 \rTotal File Size: 0\rStatus: [] done");
    f.api.contentLength = 4000;
    f.api.chunks = {std::string(1000, 'x')};
    f.http.ExecuteUrl(L"http://127.0.0.1/x");
    EXPECT_FLOAT_EQ(f.http.GetProgressPercentage(), 25.0f);
    EXPECT_EQ(f.http.GetStringPercentage(),
              L"Bytes Read: 1,000 \rTotal File Size: 4,000\rStatus: 25% done");
}

TEST(IEHttp, RequestHeadersByName) {
    IEHttpFixture f;
    f.http.AddRequestHeader(L" X-Test: ", L"1");
    f.http.AddRequestHeader(L"x-test", L"2");
    EXPECT_EQ(f.http.RequestHeaders, std::vector<std::wstring>{L"x-test: 2"});
    EXPECT_EQ(f.http.GetRequestHeaderIdx(L"X-TEST"), 0);
    f.http.DeleteRequestHeader(L"X-Test:");
    EXPECT_EQ(f.http.GetRequestHeaderIdx(L"x-test"), -1);
    EXPECT_EQ(f.http.GetResponseHeaderValue(L"missing"), L"");
    f.http.proxyUsername = L"me";
    f.http.proxyPassword = L"pw";
    f.http.ExecuteUrl(L"http://127.0.0.1/x");
    EXPECT_EQ(f.http.GetRequestHeaderValue(L"Proxy-Authorization"), L"Basic bWU6cHc=");
}

} // namespace
} // namespace torvik
