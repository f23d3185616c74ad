#include <gtest/gtest.h>

#include "exchange/WinHttpServiceTransport.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeWinHttp.h"

namespace torvik {
namespace {

using testing::FakeFileSystem;
using testing::FakeWinHttp;

class WinHttpServiceTransportTest : public ::testing::Test {
protected:
    FakeWinHttp winHttp;
    Latin1CodePage ansi;
    FakeFileSystem files;
    WinHttpServiceTransport transport{winHttp, ansi, files, std::chrono::milliseconds(5000)};

    static MultipartFields Form(const std::wstring& mode) {
        MultipartFields form = NewServiceRequest(L"68", L"user_1#", mode);
        form.AddText(L"program_name", L"Demo");
        return form;
    }
};

TEST_F(WinHttpServiceTransportTest, PostsEachFormAloneAndReturnsTheReplyLines) {
    winHttp.Answer(L"HTTP/1.1 200 OK\r\n\r\n", {"[reply]\r\nok\r\n"});
    winHttp.Answer(L"HTTP/1.1 200 OK\r\n\r\n", {"[search_result]\r\n"});
    MultipartFields first = Form(L"community_post_note");
    first.AddText(L"comment", L"only in the first");
    const ServiceReply reply = transport.Post(L"http://127.0.0.1:1245/VersionChecker.aspx", first);
    transport.Post(L"http://127.0.0.1:1245/VersionChecker.aspx", Form(L"custom_program_search"));

    EXPECT_FALSE(reply.cancelled);
    EXPECT_EQ(reply.lines, (std::vector<std::wstring>{L"[reply]", L"ok"}));
    ASSERT_EQ(winHttp.requests.size(), 2u);
    const std::string firstBody = winHttp.requests[0].Body();
    const std::string secondBody = winHttp.requests[1].Body();
    // Fields in the form's order, each request with its own only.
    const size_t build = firstBody.find("name=\"build\""), mode = firstBody.find("name=\"mode\"");
    const size_t comment = firstBody.find("only in the first");
    EXPECT_LT(build, mode);
    EXPECT_LT(mode, comment);
    EXPECT_NE(comment, std::string::npos);
    EXPECT_NE(secondBody.find("custom_program_search"), std::string::npos);
    EXPECT_EQ(secondBody.find("only in the first"), std::string::npos);
    EXPECT_EQ(winHttp.requests[0].settings.receiveTimeout, 5000);
}

TEST_F(WinHttpServiceTransportTest, AFailedConnectionIsATransportError) {
    winHttp.failAt = "connect";
    EXPECT_THROW(transport.Post(L"http://127.0.0.1:1245/VersionChecker.aspx", Form(L"x")),
                 ServiceTransportError);
    // Addresses the client cannot take fail the same way.
    winHttp.failAt.clear();
    EXPECT_THROW(transport.Post(L"file:///c:/x", Form(L"x")), ServiceTransportError);
}

} // namespace
} // namespace torvik
