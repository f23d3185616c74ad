#include <gtest/gtest.h>

#include "fakes/FakeFileSystem.h"
#include "fakes/FakeWinHttp.h"
#include "protocol/Compression.h"
#include "support/WinHttpX.h"

namespace torvik {
namespace {

using testing::FakeFileSystem;
using testing::FakeWinHttp;

const std::string kB = "-----------------------------7cf87224d2020a";

std::string TextPart(const std::string& name, const std::string& value) {
    return "--" + kB + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value +
           "\r\n";
}

class WinHttpXTest : public ::testing::Test {
protected:
    FakeWinHttp transport;
    Latin1CodePage ansi;
    FakeFileSystem files;
    TWinHttpX http{transport, ansi, files};

    std::wstring Header(size_t request) const {
        return transport.requests.at(request).settings.headers;
    }
};

TEST_F(WinHttpXTest, FieldsPersistAcrossRequestsAndReaddingReplacesInPlace) {
    http.MultipartPost = true;
    http.AddMultipartVar(L"mode", L"first");
    http.AddMultipartVar(L"b", L"2");
    http.ExecuteUrl(L"http://127.0.0.1:1245/VersionChecker.aspx");
    http.AddMultipartVar(L"a", L"1");
    http.AddMultipartVar(L"mode", L"second");
    http.ExecuteUrl(L"http://127.0.0.1:1245/VersionChecker.aspx");

    ASSERT_EQ(transport.requests.size(), 2u);
    EXPECT_EQ(transport.requests[0].Body(),
              TextPart("mode", "first") + TextPart("b", "2") + "--" + kB + "--\r\n");
    EXPECT_EQ(transport.requests[1].Body(), TextPart("mode", "second") + TextPart("b", "2") +
                                                TextPart("a", "1") + "--" + kB + "--\r\n");
    EXPECT_EQ(transport.requests[1].settings.verb, L"POST");
    EXPECT_EQ(transport.requests[1].settings.objectName, L"/VersionChecker.aspx");
    EXPECT_EQ(transport.sessions.size(), 1u) << "the connection is kept between requests";
}

TEST_F(WinHttpXTest, MultipartBodyPutsTextPartsBeforeBinaryParts) {
    http.MultipartPost = true;
    http.AddMultipartVarA(L"data", std::string("\x00\xff", 2));
    http.AddMultipartVar(L"build", L"67");
    http.AddMultipartFormFile(L"icon", L"C:\\x\\p.ico", "ICON");
    http.AddMultipartVar_B64(L"b64", std::string(48, 'z'));
    http.Post(L"127.0.0.1/u");
    std::string b64Value;
    for (int i = 0; i < 16; ++i) {
        b64Value += "enp6";
    }
    b64Value += "\r";
    EXPECT_EQ(transport.requests[0].Body(),
              TextPart("build", "67") + TextPart("b64", b64Value) + "--" + kB +
                  "\r\nContent-Disposition: form-data; name=\"data\"; filename=\"\"\r\n"
                  "Content-Transfer-Encoding: binary\r\n\r\n" +
                  std::string("\x00\xff", 2) + "\r\n--" + kB +
                  "\r\nContent-Disposition: form-data; name=\"icon\"; filename=\"p.ico\"\r\n"
                  "Content-Transfer-Encoding: binary\r\n\r\nICON\r\n--" +
                  kB + "--\r\n");
}

TEST_F(WinHttpXTest, FieldRulesAndTheirErrors) {
    EXPECT_THROW(http.AddMultipartVarBin(L"f", L"n", "x"), TorvikError);
    try {
        http.AddMultipartVarA(L"f", "x");
    } catch (const TorvikError& e) {
        EXPECT_EQ(e.Message(), L"TWinHttpX not in multipart mode");
    }
    http.MultipartPost = true;
    try {
        http.ExecuteUrl(L"http://h/");
        FAIL() << "no error";
    } catch (const TorvikError& e) {
        EXPECT_EQ(e.Message(), L"multipart error: no variables to post");
    }
    EXPECT_EQ(http.WorkingStatus(), 0);
    EXPECT_THROW(http.AddMultipartFormFile(L"f", L"C:\\missing.bin"), TorvikError);
    files.AddFile(L"C:\\data\\up.bin", "UP");
    http.AddMultipartFormFile(L"f", L"C:\\data\\up.bin");
    ASSERT_EQ(http.PostVariables().BinaryFields().size(), 1u);
    EXPECT_EQ(http.PostVariables().BinaryFields()[0].fileName, L"up.bin");
    EXPECT_EQ(http.PostVariables().BinaryFields()[0].value, "UP");
    http.AddMultipartFile(L"t", L"C:\\data\\up.bin");
    EXPECT_EQ(http.PostVariables().TextFields()[0].value, L"VVA=");
    try {
        http.Get(L"http://h/");
        FAIL() << "no error";
    } catch (const TorvikError& e) {
        EXPECT_EQ(e.Message(), L"RequestMethod must be POST in MultipartPost");
    }
}

TEST_F(WinHttpXTest, GetWithoutFieldsSendsOneBlankAndTheDefaultHeaders) {
    http.ExecuteUrl(L"http://127.0.0.1:8080/CheckUpdates.aspx?app=torvik_updater&build=67");
    const auto& sent = transport.requests.at(0);
    EXPECT_EQ(sent.host, L"127.0.0.1");
    EXPECT_EQ(sent.port, 8080);
    EXPECT_EQ(sent.settings.verb, L"GET");
    EXPECT_EQ(sent.settings.version, L"HTTP/1.1");
    EXPECT_EQ(sent.settings.objectName, L"/CheckUpdates.aspx?app=torvik_updater&build=67");
    EXPECT_EQ(sent.firstData, " ");
    EXPECT_EQ(sent.totalLength, 1u);
    EXPECT_EQ(Header(0), std::wstring(L"Accept: text/html, */*\r\nUser-Agent: ") +
                             kWinHttpXDefaultUserAgent + L"\r\n");
    EXPECT_EQ(transport.sessions.at(0).agent, kWinHttpXDefaultUserAgent);
}

TEST_F(WinHttpXTest, UrlEncodedPostAndHeaderOrder) {
    http.RequestMethod = HTTPrm_Post;
    http.AddVariable(L"q", L"a b/\u00fc");
    http.AddVariable(L"n", L"1");
    http.RequestHeader.Set(hReferer, L"  http://ref/  ");
    http.RequestHeader.Set(hAcceptEncoding, L"   ");
    http.RequestHeader.CustomHeaders = {L"X-One: 1", L"X-Empty:", L"Bad", L": v"};
    http.RequestHeader.Cookies = {L"a=1", L"b=2"};
    http.ExecuteUrl(L"http://h/p");
    const auto& sent = transport.requests.at(0);
    EXPECT_EQ(sent.firstData, "q=a%20b%2F%C3%BC&n=1");
    EXPECT_EQ(sent.settings.referrer, L"  http://ref/  ");
    EXPECT_EQ(Header(0), std::wstring(L"Accept: text/html, */*\r\n"
                                      L"Content-Type: application/x-www-form-urlencoded\r\n"
                                      L"Referer: http://ref/\r\nUser-Agent: ") +
                             kWinHttpXDefaultUserAgent + L"\r\nX-One: 1\r\nCookie: a=1; b=2\r\n");
    EXPECT_EQ(http.RequestHeader.Get(hContentLength), L"");
}

TEST_F(WinHttpXTest, LargeBodiesGoInPiecesOfTheUploadBufferSize) {
    http.RequestMethod = HTTPrm_Post;
    http.AddVariable(L"d", std::wstring(39998, L'a'));
    std::vector<int64_t> progress;
    http.OnUploadProgress = [&](TWinHttpX&, int64_t sent, int64_t total) {
        EXPECT_EQ(total, 40000);
        progress.push_back(sent);
    };
    http.ExecuteUrl(L"http://h/up");
    const auto& sent = transport.requests.at(0);
    EXPECT_EQ(sent.firstData, "");
    EXPECT_EQ(sent.totalLength, 40000u);
    ASSERT_EQ(sent.writes.size(), 2u);
    EXPECT_EQ(sent.writes[0].size(), 32768u);
    EXPECT_EQ(sent.writes[1].size(), 7232u);
    EXPECT_EQ(sent.Body(), "d=" + std::string(39998, 'a'));
    EXPECT_EQ(progress, (std::vector<int64_t>{32768, 40000}));

    http.SetUploadBufferSize(-5);
    EXPECT_EQ(http.UploadBufferSize(), 32768);
    http.SetUploadBufferSize(40000);
    http.ExecuteUrl(L"http://h/up");
    EXPECT_TRUE(transport.requests.at(1).writes.empty());
    EXPECT_EQ(transport.requests.at(1).firstData.size(), 40000u);
    http.SetUploadBufferSize(0);
    try {
        http.ExecuteUrl(L"http://h/up");
        FAIL() << "no error";
    } catch (const EWinHttpClientException& e) {
        EXPECT_EQ(e.Message(), L"Invalid HTTP Request: Length is 0");
    }
    EXPECT_EQ(transport.openConnections, 0) << "a failed request drops the connection";
}

} // namespace
} // namespace torvik
