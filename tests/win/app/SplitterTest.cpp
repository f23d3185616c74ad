#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "WinTestSupport.h"
#include "app/Controls.h"
#include "app/Splitter.h"
#include "app/TestHost.h"

namespace torvik::app {
namespace {

using wintest::RectInParent;

constexpr SplitLimits kLimits{.minUpper = 100, .minLower = 60, .bar = 4};

// A window laid out as the main window is: an upper and a lower area with
// the splitter between them, filling its client area.
class SplitHost : public wintest::TestHost {
public:
    std::function<void(int width, int height)> onSize;

protected:
    void OnSize(int width, int height) override {
        if (onSize) {
            onSize(width, height);
        }
    }
};

class SplitterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Create(400, 400));
        upper = CreateChild(L"EDIT", ES_MULTILINE | WS_BORDER, host.Handle(), L"upper area", 0);
        lower = CreateChild(L"EDIT", ES_MULTILINE | WS_BORDER, host.Handle(), L"lower area", 0);
        ASSERT_TRUE(splitter.Create(host.Handle(), kLimits, 150, RGB(0xB5, 0xB5, 0xB5)));
        host.onSize = [this](int width, int height) { LayOut(width, height); };
        splitter.onMoved = [this] {
            RECT client{};
            ::GetClientRect(host.Handle(), &client);
            LayOut(client.right, client.bottom);
        };
        LayOut(400, 400);
    }

    void LayOut(int width, int height) {
        const SplitHeights split = splitter.Arrange(0, 0, width, height);
        ::MoveWindow(upper, 0, 0, width, split.upper, TRUE);
        ::MoveWindow(lower, 0, split.upper + kLimits.bar, width, split.lower, TRUE);
    }

    static int Height(HWND hwnd) {
        const RECT r = RectInParent(hwnd);
        return r.bottom - r.top;
    }
    static int Top(HWND hwnd) { return RectInParent(hwnd).top; }

    // A mouse message at a height on the screen, in the splitter's own
    // coordinates as the mouse would give it where the bar is now.
    void Mouse(UINT msg, int screenY) {
        POINT at{20, screenY};
        ::ScreenToClient(splitter.Handle(), &at);
        ::SendMessageW(
            splitter.Handle(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON,
            MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(static_cast<short>(at.y))));
    }
    int BarScreenY() const {
        RECT r{};
        ::GetWindowRect(splitter.Handle(), &r);
        return r.top + 1;
    }

    SplitHost host;
    HWND upper = nullptr, lower = nullptr;
    Splitter splitter;
};

TEST_F(SplitterTest, DraggingTheBarSharesTheHeightWithinTheLimits) {
    EXPECT_EQ(Height(lower), 150);
    EXPECT_EQ(Height(upper), 246);
    EXPECT_EQ(Top(splitter.Handle()), 246);

    // The bar shows that it can be dragged up and down.
    ::SendMessageW(splitter.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(splitter.Handle()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_SIZENS));

    const int grab = BarScreenY();
    Mouse(WM_LBUTTONDOWN, grab);
    EXPECT_TRUE(splitter.Dragging());
    Mouse(WM_MOUSEMOVE, grab - 80);
    EXPECT_EQ(Height(lower), 230) << "the lower area follows the bar up";
    EXPECT_EQ(Height(upper), 166);
    EXPECT_EQ(Top(splitter.Handle()), 166);
    Mouse(WM_MOUSEMOVE, grab - 1000);
    EXPECT_EQ(Height(upper), 100) << "the upper area keeps its minimum";
    EXPECT_EQ(Height(lower), 296);
    Mouse(WM_MOUSEMOVE, grab + 1000);
    EXPECT_EQ(Height(lower), 60) << "the lower area keeps its minimum";
    Mouse(WM_MOUSEMOVE, grab - 50);
    EXPECT_EQ(Height(lower), 200);
    Mouse(WM_LBUTTONUP, grab - 50);
    EXPECT_FALSE(splitter.Dragging());
    EXPECT_EQ(::GetCapture(), nullptr);

    // Once let go, the mouse moves over the bar without moving it.
    Mouse(WM_MOUSEMOVE, grab + 30);
    EXPECT_EQ(Height(lower), 200);
    EXPECT_EQ(splitter.ChosenLowerHeight(), 200);
    wintest::SaveWindowShot(host.Handle(), L"splitter_dragged");
}

// A smaller window takes the height from the lower area but leaves the
// upper one its minimum; the chosen height comes back with the room.
TEST_F(SplitterTest, TheSplitStaysValidWhenTheWindowShrinks) {
    const int grab = BarScreenY();
    Mouse(WM_LBUTTONDOWN, grab);
    Mouse(WM_MOUSEMOVE, grab - 100);
    Mouse(WM_LBUTTONUP, grab - 100);
    ASSERT_EQ(Height(lower), 250);

    RECT client{};
    for (const int height : {300, 180, 120}) {
        LayOut(400, height);
        EXPECT_EQ(Height(upper), 100) << height;
        EXPECT_EQ(Height(lower), std::max(0, height - 104)) << height;
        EXPECT_EQ(Top(lower), 104) << height;
    }
    LayOut(400, 400);
    EXPECT_EQ(Height(lower), 250);
    ::GetClientRect(host.Handle(), &client);
    EXPECT_EQ(client.bottom, 400);

    // Another window taking the mouse ends the drag.
    Mouse(WM_LBUTTONDOWN, BarScreenY());
    ::SendMessageW(splitter.Handle(), WM_CAPTURECHANGED, 0,
                   reinterpret_cast<LPARAM>(host.Handle()));
    EXPECT_FALSE(splitter.Dragging());
    ::ReleaseCapture();
}

} // namespace
} // namespace torvik::app
