#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "app/TestHost.h"
#include "app/WebPage.h"
#include "app/Window.h"
#include "net/LoopbackServer.h"
#include "platform/win32/BrowserSite.h"
#include "platform/win32/Com.h"

namespace torvik::app {
namespace {

using wintest::HasVisibleStyle;
using wintest::LoopbackServer;
using wintest::PumpUntil;
using wintest::RectInParent;
using wintest::TestHost;

std::vector<std::wstring> reported;
void Capture(const std::wstring& text) {
    reported.push_back(text);
}

// Whatever the application's error handling is given while it lives.
class ReportedErrors {
public:
    ReportedErrors() : previous_(SetErrorSink(Capture)) { reported.clear(); }
    ~ReportedErrors() { SetErrorSink(previous_); }
    ReportedErrors(const ReportedErrors&) = delete;
    ReportedErrors& operator=(const ReportedErrors&) = delete;
    const std::vector<std::wstring>& Texts() const { return reported; }

private:
    ErrorSink previous_;
};

// Counts the visible dialogs (message boxes among them) it is shown. A
// named stdcall function: the i686 build takes no lambda here.
BOOL CALLBACK CountVisibleDialog(HWND hwnd, LPARAM counter) {
    wchar_t cls[16] = {};
    ::GetClassNameW(hwnd, cls, 16);
    if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(hwnd)) {
        ++*reinterpret_cast<int*>(counter);
    }
    return TRUE;
}

int DialogsOnThisThread() {
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountVisibleDialog,
                        reinterpret_cast<LPARAM>(&count));
    return count;
}

// Lets what the control posted to this thread arrive, so that a callback
// into a control already gone shows up here rather than in a later test.
void PumpAWhile() {
    PumpUntil([] { return false; }, 300);
}

std::string FirstLine(const std::string& request) {
    return request.substr(0, request.find("\r\n"));
}

// The page's window goes with its host (round 0) or its object goes first,
// while the host stays (round 1).
void LetThePageGo(int round, TestHost& host, std::optional<WebPage>& page) {
    if (round == 0) {
        ::DestroyWindow(host.Handle());
    }
    page.reset();
}

// This Wine runs without its HTML engine (scripts/wine-env), as a Windows
// without a usable browser would: each of two pages in a row stays an empty
// window, and neither navigating nor going away reports anything.
TEST(WebPage, WithoutAnHtmlEngineThePageStaysAnEmptyWindow) {
    const win32::OleSession ole;
    ASSERT_FALSE(win32::HtmlEngineAvailable());
    const ReportedErrors errors;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        TestHost host;
        ASSERT_TRUE(host.Create(420, 260));
        std::optional<WebPage> page(std::in_place);
        ASSERT_TRUE(page->Create(host.Handle()));
        const HWND pageWindow = page->Handle();
        ::MoveWindow(pageWindow, 10, 10, 400, 240, TRUE);

        EXPECT_FALSE(page->HasBrowser());
        EXPECT_EQ(::GetParent(pageWindow), host.Handle());
        EXPECT_TRUE(HasVisibleStyle(pageWindow));
        EXPECT_FALSE(page->Navigate(L"http://127.0.0.1:1/AppFrame_Updater.aspx?b=1452"));
        EXPECT_EQ(::GetWindow(pageWindow, GW_CHILD), nullptr);
        if (round == 0) {
            wintest::SaveWindowShot(host.Handle(), L"web_page_without_browser");
        }
        EXPECT_EQ(DialogsOnThisThread(), 0);

        LetThePageGo(round, host, page);
        EXPECT_FALSE(::IsWindow(pageWindow));
    }
    PumpAWhile();
    EXPECT_TRUE(errors.Texts().empty());
}

// The browser control itself can be created under Wine (only its HTML engine
// is missing), so a page told to host it regardless goes through the whole
// container: the control's window fills the page and follows its size, a
// navigation reaches the server, and the control, its window and its site
// are gone with the page, twice in a row.
TEST(WebPage, AHostedBrowserFillsThePageLoadsTheAddressAndGoesWithIt) {
    const ReportedErrors errors;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        LoopbackServer server;
        server.Enqueue({LoopbackServer::Http("HTTP/1.1 200 OK", {"Content-Type: text/html"},
                                             "<html><body>Home</body></html>")});
        TestHost host;
        ASSERT_TRUE(host.Create(420, 260));
        std::optional<WebPage> page(std::in_place);
        ASSERT_TRUE(page->Create(host.Handle(), [] { return true; }));
        ASSERT_TRUE(page->HasBrowser());
        EXPECT_EQ(win32::BrowserSite::Alive(), 1);
        const HWND pageWindow = page->Handle();
        const HWND control = ::GetWindow(pageWindow, GW_CHILD);
        ASSERT_NE(control, nullptr);

        ::MoveWindow(pageWindow, 10, 10, 400, 240, TRUE);
        RECT inPage = RectInParent(control);
        EXPECT_EQ(inPage.left, 0);
        EXPECT_EQ(inPage.top, 0);
        EXPECT_EQ(inPage.right, 400);
        EXPECT_EQ(inPage.bottom, 240);
        ::MoveWindow(pageWindow, 10, 10, 250, 120, TRUE);
        inPage = RectInParent(control);
        EXPECT_EQ(inPage.right, 250);
        EXPECT_EQ(inPage.bottom, 120);

        EXPECT_TRUE(page->Navigate(server.Url(L"/AppFrame_Updater.aspx?b=1452&mode=2")));
        ASSERT_TRUE(PumpUntil([&] { return !server.Requests().empty(); }, 10000));
        EXPECT_EQ(FirstLine(server.Requests()[0]),
                  "GET /AppFrame_Updater.aspx?b=1452&mode=2 HTTP/1.1");
        if (round == 0) {
            wintest::SaveWindowShot(host.Handle(), L"web_page_hosted_browser");
        }
        EXPECT_EQ(DialogsOnThisThread(), 0);

        LetThePageGo(round, host, page);
        EXPECT_FALSE(::IsWindow(control));
        EXPECT_FALSE(::IsWindow(pageWindow));
        EXPECT_EQ(win32::BrowserSite::Alive(), 0);
        PumpAWhile();
    }
    EXPECT_TRUE(errors.Texts().empty());
}

} // namespace
} // namespace torvik::app
