#include <gtest/gtest.h>

#include "common/Error.h"
#include "exchange/Screening.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeWinHttp.h"

namespace torvik {
namespace {

// The WinHTTP client's reply is screened as a whole, also when the error
// line is not its first.
TEST(ScreenWinHttpReply, ScreensTheClientsReplyText) {
    testing::FakeWinHttp transport;
    Latin1CodePage ansi;
    testing::FakeFileSystem files;
    TWinHttpX http{transport, ansi, files};
    transport.Answer(L"HTTP/1.1 200 OK\r\n\r\n", {"[results]\r\nA|1\r\n"});
    http.Get(L"http://h/x");
    EXPECT_NO_THROW(ScreenWinHttpReply(http));

    transport.Answer(L"HTTP/1.1 200 OK\r\n\r\n", {"[results]\r\nerror: unknown mode x\r\n"});
    http.Get(L"http://h/x");
    try {
        ScreenWinHttpReply(http);
        FAIL() << "no error raised";
    } catch (const TorvikError& e) {
        EXPECT_EQ(e.Message(), L"error: unknown mode x\r\n");
    }
}

} // namespace
} // namespace torvik
