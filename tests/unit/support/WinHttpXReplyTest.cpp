#include <gtest/gtest.h>

#include "fakes/FakeFileSystem.h"
#include "fakes/FakeWinHttp.h"
#include "protocol/Compression.h"
#include "support/WinHttpX.h"

namespace torvik {
namespace {

using testing::FakeFileSystem;
using testing::FakeWinHttp;

class WinHttpXReplyTest : public ::testing::Test {
protected:
    FakeWinHttp transport;
    Latin1CodePage ansi;
    FakeFileSystem files;
    TWinHttpX http{transport, ansi, files};
};

TEST_F(WinHttpXReplyTest, StatusesOf300AndAboveSetErrorCodeAndKeepThePage) {
    transport.Answer(L"HTTP/1.1 404 Not Found\r\nContent-Type: text/html\r\n\r\n",
                     {"<html>\r\nmissing", "</html>\r\n"});
    transport.Answer(L"HTTP/1.1 200 OK\r\n\r\n", {"[status]\r\nok"});
    http.Get(L"http://h/x");
    EXPECT_EQ(http.errorCode(), 404);
    EXPECT_EQ(http.errorMessage(), L"Not Found");
    EXPECT_EQ(http.ResultSl(), (std::vector<std::wstring>{L"<html>", L"missing</html>"}));
    EXPECT_EQ(http.ResponseText(), L"<html>\r\nmissing</html>\r\n");
    http.Get(L"http://h/x");
    EXPECT_EQ(http.errorCode(), 0);
    EXPECT_EQ(http.errorMessage(), L"");
    EXPECT_EQ(http.ResultMs(), "[status]\r\nok");
}

TEST_F(WinHttpXReplyTest, CharsetIsUtf8OnlyInLowerCase) {
    const struct {
        std::wstring headers;
        std::wstring text;
    } cases[] = {
        {L"HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=utf-8\r\n\r\n", L"\u00fc"},
        {L"HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n", L"\u00c3\u00bc"},
        {L"HTTP/1.1 200 OK\r\ncontent-type: text/plain; charset=utf-8\r\n\r\n", L"\u00fc"},
    };
    for (const auto& c : cases) {
        transport.Answer(c.headers, {"\xc3\xbc"});
        http.Get(L"http://h/x");
        EXPECT_EQ(http.ResponseText(), c.text + L"\r\n");
    }
    transport.Answer(L"HTTP/1.1 200 OK\r\nContent-Encoding: x; charset=utf-16\r\n\r\n",
                     {std::string("o\0k\0", 4)});
    http.Get(L"http://h/x");
    EXPECT_EQ(http.ResponseText(), L"ok\r\n");
}

TEST_F(WinHttpXReplyTest, CompressedRepliesAreUndone) {
    const std::string marker(kCompressedReplyMarker, kCompressedReplyMarkerSize);
    transport.Answer(L"HTTP/1.1 200 OK\r\n\r\n",
                     {marker + ZlibCompressByteString("[latest version]\r\n1.0.0.68")});
    http.Get(L"http://h/x");
    EXPECT_EQ(http.ResultSl(), (std::vector<std::wstring>{L"[latest version]", L"1.0.0.68"}));
}

TEST_F(WinHttpXReplyTest, AddressesAndConnections) {
    http.Get(L"127.0.0.1/a");
    EXPECT_EQ(http.URL(), L"http://127.0.0.1/a");
    EXPECT_EQ(http.URLPort(), 80);
    http.Get(L"http://127.0.0.1/b?x=1");
    EXPECT_EQ(http.URLSite(), L"/b?x=1");
    EXPECT_EQ(transport.sessions.size(), 1u) << "same host and port keep the connection";
    http.Get(L"http://127.0.0.1:81/b");
    EXPECT_EQ(transport.sessions.size(), 2u);
    EXPECT_EQ(transport.openConnections, 1);
    http.Get(L"https://127.0.0.1:81/b");
    EXPECT_EQ(transport.requests.back().settings.flags, kWinHttpFlagSecure);
    EXPECT_EQ(http.URLScheme(), L"https");

    try {
        http.Get(L"ftp://127.0.0.1/file");
        FAIL() << "no error";
    } catch (const EWinHttpClientException& e) {
        EXPECT_EQ(e.Message(),
                  L"Invalid url 'ftp://127.0.0.1/file' - only supports 'http' and 'https' schemes");
    }
    TWinHttpX fresh(transport, ansi, files);
    try {
        fresh.Execute();
        FAIL() << "no error";
    } catch (const EWinHttpClientException& e) {
        EXPECT_EQ(e.Message(), L"Empty URL");
    }
}

TEST_F(WinHttpXReplyTest, PlatformFailuresNameTheAddressAndDropTheConnection) {
    for (const std::string step : {"connect", "open", "send", "receive", "read"}) {
        transport.failAt = step;
        try {
            http.Get(L"http://127.0.0.1:9/x");
            FAIL() << step;
        } catch (const EWinHttpClientException& e) {
            EXPECT_EQ(e.Message(), L"A connection with the server could not be established - "
                                   L"URL:http://127.0.0.1:9/x")
                << step;
        }
        EXPECT_EQ(transport.openConnections, 0) << step;
        EXPECT_EQ(http.WorkingStatus(), 0);
    }
    transport.failAt.clear();
    http.Get(L"http://127.0.0.1:9/x");
    EXPECT_EQ(transport.openConnections, 1);
}

TEST_F(WinHttpXReplyTest, TimeoutsOptionsAndFeatures) {
    http.Get(L"http://h/");
    auto s = transport.requests.back().settings;
    EXPECT_EQ(s.connectTimeout, 0);
    EXPECT_EQ(s.sendTimeout, 2147483647);
    EXPECT_EQ(s.receiveTimeout, 2147483647);
    EXPECT_EQ(http.SendTimeout, 2147483647) << "the replacement is kept";
    EXPECT_EQ(s.flags, 0u);
    EXPECT_EQ(s.disabledFeatures, 0u);
    http.SetTimeout(5000);
    EXPECT_EQ(http.ReceiveTimeout, 0);
    http.ConnectTimeout = 1500;
    http.ReceiveTimeout = 700;
    http.InternetOptions = wHttpIo_No_cookies | wHttpIo_No_auto_redirect | wHttpIo_REFRESH |
                           wHttpIo_ESCAPE_DISABLE | wHttpIo_ESCAPE_DISABLE_QUERY |
                           wHttpIo_ESCAPE_PERCENT | wHttpIo_NULL_CODEPAGE | wHttpIo_SECURE;
    http.ProtocolVersion = HTTPpv_1_0;
    http.Get(L"http://h/");
    s = transport.requests.back().settings;
    EXPECT_EQ(s.connectTimeout, 1500);
    EXPECT_EQ(s.receiveTimeout, 700);
    EXPECT_EQ(s.version, L"HTTP/1.0");
    EXPECT_EQ(s.flags, kWinHttpFlagRefresh | kWinHttpFlagEscapeDisable |
                           kWinHttpFlagEscapeDisableQuery | kWinHttpFlagEscapePercent |
                           kWinHttpFlagNullCodepage | kWinHttpFlagSecure);
    EXPECT_EQ(s.disabledFeatures,
              kWinHttpDisableKeepAlive | kWinHttpDisableCookies | kWinHttpDisableRedirects);
}

TEST_F(WinHttpXReplyTest, ProxySettingsAndWhatDropsTheConnection) {
    http.SetAccessType(wHttpAt_NAMED_PROXY);
    http.ProxyParams.SetProxyServer(L"proxy");
    http.ProxyParams.SetProxyPort(3128);
    http.ProxyParams.SetProxyBypass(L"<local>");
    http.ProxyParams.ProxyUserName = L"u";
    http.ProxyParams.ProxyPassword = L"p";
    http.Get(L"http://h/");
    const auto& session = transport.sessions.back();
    EXPECT_EQ(session.accessType, WinHttpAccessType::NamedProxy);
    EXPECT_EQ(session.proxyName, L"proxy:3128");
    EXPECT_EQ(session.proxyBypass, L"<local>");
    EXPECT_EQ(transport.requests.back().settings.proxyUserName, L"u");
    EXPECT_EQ(transport.requests.back().settings.proxyPassword, L"p");

    const std::function<void()> changes[] = {
        [&] { http.ProxyParams.SetProxyServer(L"other"); },
        [&] { http.ProxyParams.SetProxyPort(8080); },
        [&] { http.ProxyParams.SetProxyBypass(L""); },
        [&] { http.SetUserName(L"name"); },
        [&] { http.SetPasswordX(L"secret"); },
        [&] { http.SetAccessType(wHttpAt_DEFAULT_PROXY); },
        [&] { http.RequestHeader.Set(hUserAgent, L"Agent"); },
    };
    for (const auto& change : changes) {
        ASSERT_TRUE(http.Connected());
        change();
        EXPECT_FALSE(http.Connected());
        http.Get(L"http://h/");
    }
    EXPECT_EQ(transport.sessions.back().accessType, WinHttpAccessType::DefaultProxy);
    EXPECT_EQ(transport.sessions.back().proxyName, L"");
    EXPECT_EQ(transport.sessions.back().agent, L"Agent");
    http.RequestHeader.Set(hAccept, L"*/*");
    EXPECT_TRUE(http.Connected());
}

TEST(WinHttpResponseHeader, ParsesStatusNamedFieldsCookiesAndTheRest) {
    TWinHTTPResponseHeader h;
    h.SetRawHeaderText(L"HTTP/1.1 503 Service Unavailable\r\ncontent-length: 12\r\n"
                       L"Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\nX-Custom: v\r\n"
                       L"Content-Type:  text/html \r\n\r\n");
    EXPECT_EQ(h.ProtocolVersion, L"1.1");
    EXPECT_EQ(h.StatusCode, L"503");
    EXPECT_EQ(h.StatusNumber(), 503);
    EXPECT_EQ(h.ReasonPhrase, L"Service Unavailable");
    EXPECT_EQ(h.ContentLengthNumber(), 12);
    EXPECT_EQ(h.ContentType(), L"text/html");
    EXPECT_EQ(h.Field(L"CONTENT-TYPE"), L"text/html");
    EXPECT_EQ(h.Cookies, (std::vector<std::wstring>{L"a=1; path=/", L"b=2"}));
    EXPECT_EQ(h.CustomHeaders, (std::vector<std::wstring>{L"X-Custom: v"}));
    h.SetRawHeaderText(L"HTTP/1.0 200\r\n");
    EXPECT_EQ(h.StatusNumber(), 200);
    EXPECT_EQ(h.ContentLengthNumber(), 0);
    EXPECT_TRUE(h.Cookies.empty());
}

} // namespace
} // namespace torvik
