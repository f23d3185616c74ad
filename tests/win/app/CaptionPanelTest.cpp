#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "app/CaptionPanel.h"
#include "app/Controls.h"
#include "app/TestHost.h"

namespace torvik::app {
namespace {

using wintest::DepthAmongSiblings;
using wintest::RectInParent;
using wintest::TestHost;

constexpr int kHostWidth = 600, kHostHeight = 400;
constexpr int kPanelWidth = 200, kPanelHeight = 150;

// One host for the suite, shown once: hiding a window again costs Wine two
// seconds.
class CaptionPanelTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        host = std::make_unique<TestHost>();
        ASSERT_TRUE(host->Create(kHostWidth, kHostHeight));
        ::ShowWindow(host->Handle(), SW_SHOWNA);
    }
    static void TearDownTestSuite() { host.reset(); }
    void SetUp() override {
        ASSERT_TRUE(panel.Create(host->Handle(), L"Options", kPanelWidth, kPanelHeight));
        ::ShowWindow(panel.Handle(), SW_SHOWNA);
    }
    void MoveTo(int left, int top, int width = kPanelWidth) {
        ::SetWindowPos(panel.Handle(), nullptr, left, top, width, kPanelHeight,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    POINT Corner() const {
        const RECT r = RectInParent(panel.Handle());
        return {r.left, r.top};
    }

    static std::unique_ptr<TestHost> host;
    CaptionPanel panel;
};

std::unique_ptr<TestHost> CaptionPanelTest::host;

TEST_F(CaptionPanelTest, AMovedPanelIsPushedBackWhenTheMoveEnds) {
    const struct {
        int left, top, width;
        POINT kept;
    } cases[] = {
        {50, -40, kPanelWidth, {50, 0}},                 // above the window
        {-180, 60, kPanelWidth, {-100, 60}},             // too far left
        {580, 60, kPanelWidth, {kHostWidth - 100, 60}},  // beyond the right edge
        {50, 390, kPanelWidth, {50, kHostHeight - 100}}, // beyond the bottom
        {-100, 60, 50, {50, 60}},                        // narrowed while at the left
        {-100, 10, kPanelWidth, {-100, 10}},             // on the limits: stays
    };
    for (const auto& c : cases) {
        // While the user drags, the panel goes where the mouse takes it...
        ::SendMessageW(panel.Handle(), WM_ENTERSIZEMOVE, 0, 0);
        MoveTo(c.left, c.top, c.width);
        EXPECT_EQ(Corner().x, c.left);
        EXPECT_EQ(Corner().y, c.top);
        // ...and comes back within the limits when the drag ends.
        ::SendMessageW(panel.Handle(), WM_EXITSIZEMOVE, 0, 0);
        EXPECT_EQ(Corner().x, c.kept.x) << c.left << "," << c.top;
        EXPECT_EQ(Corner().y, c.kept.y) << c.left << "," << c.top;
    }
    // A move made by the program is kept inside at once.
    MoveTo(-500, -500);
    EXPECT_EQ(Corner().x, -100);
    EXPECT_EQ(Corner().y, 0);
}

TEST_F(CaptionPanelTest, TheCloseButtonAndEscRunOnClose) {
    int closed = 0;
    panel.onClose = [&closed] { ++closed; };
    ::SendMessageW(panel.CloseButton(), BM_CLICK, 0, 0);
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(host->Received(1, BN_CLICKED)); // the panel's own button
    // A button of the body that nobody handles is the window's to handle.
    Button start;
    ASSERT_TRUE(start.Create(panel.Body(), L"Start", 60));
    ::MoveWindow(start.Handle(), 10, 10, 80, 24, TRUE);
    ::SendMessageW(start.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(host->Received(60, BN_CLICKED));
    EXPECT_EQ(closed, 1);

    ::SendMessageW(panel.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(closed, 1); // Esc only when asked for
    panel.closeOnEscape = true;
    ::SendMessageW(panel.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(closed, 2);

    // The close button sits at the right end of the caption bar.
    const RECT button = RectInParent(panel.CloseButton());
    RECT client{};
    ::GetClientRect(panel.Handle(), &client);
    EXPECT_GT(button.left, client.right / 2);
    EXPECT_LE(button.right, client.right);
    EXPECT_LE(button.bottom, CaptionPanel::CaptionBarHeight());
}

TEST_F(CaptionPanelTest, TheCaptionBarDragsAndTheBorderResizes) {
    RECT window{};
    ::GetWindowRect(panel.Handle(), &window);
    POINT bar{0, CaptionPanel::CaptionBarHeight() / 2};
    ::ClientToScreen(panel.Handle(), &bar);
    bar.x += 30;
    const auto hitTest = [this](POINT p) {
        return ::SendMessageW(panel.Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    };
    EXPECT_EQ(hitTest(bar), HTCAPTION);
    EXPECT_EQ(hitTest({window.left, (window.top + window.bottom) / 2}), HTLEFT);
    EXPECT_EQ(hitTest({window.right - 1, window.bottom - 1}), HTBOTTOMRIGHT);

    // Below the bar lies the white body, not the bar.
    const RECT body = RectInParent(panel.Body());
    EXPECT_EQ(body.top, CaptionPanel::CaptionBarHeight());
    POINT inBody{10, CaptionPanel::CaptionBarHeight() + 10};
    ::ClientToScreen(panel.Handle(), &inBody);
    EXPECT_EQ(::WindowFromPoint(inBody), panel.Body());
    EXPECT_EQ(::WindowFromPoint(bar), panel.Handle());
}

TEST_F(CaptionPanelTest, AClickOrTheFocusBringsAPanelInFront) {
    CaptionPanel other;
    ASSERT_TRUE(other.Create(host->Handle(), L"", kPanelWidth, kPanelHeight));
    // Overlapping, with the edit box below in sight.
    ::SetWindowPos(other.Handle(), nullptr, 150, 100, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    const HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 5, 5, 80, 20,
                                        panel.Body(), nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    const auto panelInFront = [&] {
        return DepthAmongSiblings(panel.Handle()) < DepthAmongSiblings(other.Handle());
    };
    EXPECT_FALSE(panelInFront()); // a new panel comes in front

    // A press on a control of the panel's body reaches the panel as this.
    ::SendMessageW(panel.Handle(), WM_PARENTNOTIFY, WM_LBUTTONDOWN, MAKELPARAM(10, 10));
    EXPECT_TRUE(panelInFront());
    EXPECT_EQ(::GetWindow(panel.Handle(), GW_HWNDNEXT), other.Handle());

    ::SendMessageW(other.Handle(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(host->Handle()),
                   MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_FALSE(panelInFront());

    // The focus going to the edit box of the panel behind.
    ::SetForegroundWindow(host->Handle());
    ::SetFocus(edit);
    ASSERT_EQ(::GetFocus(), edit);
    EXPECT_TRUE(panelInFront());

    // A real press of the mouse on the edit box of the panel behind.
    ::SendMessageW(other.Handle(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(host->Handle()),
                   MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    ASSERT_FALSE(panelInFront());
    RECT box{};
    ::GetWindowRect(edit, &box);
    ::SetCursorPos((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, press, sizeof(INPUT));
    MSG msg;
    for (int i = 0; i < 50 && !panelInFront(); ++i) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    }
    EXPECT_TRUE(panelInFront());

    ::SendMessageW(other.Handle(), WM_NCLBUTTONUP, HTCAPTION, 0); // no press: no change
    EXPECT_TRUE(panelInFront());
}

TEST_F(CaptionPanelTest, CentreAndShowUsesTheParentsMiddle) {
    ::ShowWindow(panel.Handle(), SW_HIDE);
    panel.CentreAndShow();
    EXPECT_TRUE(wintest::HasVisibleStyle(panel.Handle()));
    EXPECT_EQ(Corner().x, (kHostWidth - kPanelWidth) / 2);
    EXPECT_EQ(Corner().y, (kHostHeight - kPanelHeight) / 2);
    panel.CentreAndShow(-20, 15);
    EXPECT_EQ(Corner().x, (kHostWidth - kPanelWidth) / 2 + 15);
    EXPECT_EQ(Corner().y, (kHostHeight - kPanelHeight) / 2 - 20);
    EXPECT_EQ(DepthAmongSiblings(panel.Handle()), 0);

    panel.SetCaption(L"Please wait");
    EXPECT_EQ(panel.Caption(), L"Please wait");
}

} // namespace
} // namespace torvik::app
