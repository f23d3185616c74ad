#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "app/Controls.h"
#include "app/Window.h"
#include "common/Error.h"

namespace torvik::app {
namespace {

constexpr UINT kThrowTorvik = WM_APP + 1;
constexpr UINT kThrowStd = WM_APP + 2;
constexpr UINT kThrowOther = WM_APP + 3;
constexpr UINT kAnswer = WM_APP + 4;

std::wstring reported;
void Capture(const std::wstring& text) {
    reported = text;
}

class ThrowingWindow : public Window {
public:
    bool Create() {
        return Window::Create(L"TorvikTestWindow", WS_OVERLAPPEDWINDOW, 0, L"probe", 0, 0, 100, 100,
                              nullptr);
    }
    bool destroyed = false;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case kThrowTorvik:
            throw TorvikError(L"Cannot write the file");
        case kThrowStd:
            throw std::runtime_error("bad state");
        case kThrowOther:
            throw 7;
        case kAnswer:
            return 42;
        default:
            return Window::HandleMessage(msg, wParam, lParam);
        }
    }
    void OnDestroyed() override { destroyed = true; }
};

TEST(Window, NoExceptionLeavesTheWindowProcedure) {
    const ErrorSink previous = SetErrorSink(Capture);
    ThrowingWindow window;
    ASSERT_TRUE(window.Create());
    EXPECT_EQ(::SendMessageW(window.Handle(), kAnswer, 0, 0), 42);
    const struct {
        UINT msg;
        const wchar_t* text;
    } cases[] = {
        {kThrowTorvik, L"Cannot write the file"},
        {kThrowStd, L"bad state"},
        {kThrowOther, L"Unknown error"},
    };
    for (const auto& c : cases) {
        reported.clear();
        ::SendMessageW(window.Handle(), c.msg, 0, 0);
        EXPECT_EQ(reported, c.text);
    }
    // The object lets go of its window when the window is destroyed.
    ::DestroyWindow(window.Handle());
    EXPECT_TRUE(window.destroyed);
    EXPECT_EQ(window.Handle(), nullptr);
    SetErrorSink(previous);
}

// A control that answers its own notifications.
class ProbeControl : public Button {
public:
    int notified = 0, drawn = 0;
    std::optional<LRESULT> OnNotify(NMHDR&) override {
        ++notified;
        return 7;
    }
    bool OnDrawItem(DRAWITEMSTRUCT&) override {
        ++drawn;
        return true;
    }
};

class ParentWindow : public Window {
public:
    bool Create() {
        return Window::Create(L"TorvikTestParent", WS_OVERLAPPEDWINDOW, 0, L"parent", 0, 0, 200,
                              100, nullptr);
    }
    int notified = 0, timers = 0, commands = 0;
    SIZE size{};

protected:
    bool OnCommand(int, int, HWND) override {
        ++commands;
        return true;
    }
    std::optional<LRESULT> OnNotify(NMHDR&) override {
        ++notified;
        return 9;
    }
    bool OnTimer(UINT_PTR id) override {
        timers += static_cast<int>(id);
        return true;
    }
    void OnSize(int width, int height) override { size = {width, height}; }
};

TEST(Window, NotificationsReachTheControlThatSentThem) {
    ParentWindow parent;
    ASSERT_TRUE(parent.Create());
    ProbeControl button;
    ASSERT_TRUE(button.Create(parent.Handle(), L"Press", 5));
    int clicks = 0;
    button.onClick = [&clicks] { ++clicks; };
    EXPECT_EQ(Control::Of(button.Handle()), &button);

    // What a click makes the button send its parent.
    ::SendMessageW(parent.Handle(), WM_COMMAND, MAKEWPARAM(5, BN_CLICKED),
                   reinterpret_cast<LPARAM>(button.Handle()));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(parent.commands, 0); // the button handled its own click

    NMHDR fromButton{button.Handle(), 5, NM_CLICK};
    EXPECT_EQ(::SendMessageW(parent.Handle(), WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&fromButton)),
              7);
    NMHDR fromOther{parent.Handle(), 6, NM_CLICK};
    EXPECT_EQ(::SendMessageW(parent.Handle(), WM_NOTIFY, 6, reinterpret_cast<LPARAM>(&fromOther)),
              9);
    EXPECT_EQ(button.notified, 1);
    EXPECT_EQ(parent.notified, 1);

    // An owner-drawn control paints its own items; a menu's items are not a
    // control's.
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = button.Handle();
    EXPECT_EQ(::SendMessageW(parent.Handle(), WM_DRAWITEM, 5, reinterpret_cast<LPARAM>(&item)),
              TRUE);
    item.CtlType = ODT_MENU;
    ::SendMessageW(parent.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(button.drawn, 1);

    // A menu command (no control) and the other typed handlers.
    ::SendMessageW(parent.Handle(), WM_COMMAND, MAKEWPARAM(40, 0), 0);
    EXPECT_EQ(parent.commands, 1);
    ::SendMessageW(parent.Handle(), WM_TIMER, 3, 0);
    EXPECT_EQ(parent.timers, 3);
    ::SendMessageW(parent.Handle(), WM_SIZE, 0, MAKELPARAM(120, 80));
    EXPECT_EQ(parent.size.cx, 120);
    EXPECT_EQ(parent.size.cy, 80);

    // Once the object is gone, its control's notifications go to the parent.
    const HWND orphan = button.Handle();
    {
        ProbeControl shortLived;
        ASSERT_TRUE(shortLived.Create(parent.Handle(), L"Brief", 8));
        fromButton.hwndFrom = shortLived.Handle();
    }
    EXPECT_EQ(::SendMessageW(parent.Handle(), WM_NOTIFY, 8, reinterpret_cast<LPARAM>(&fromButton)),
              9);
    EXPECT_EQ(Control::Of(orphan), &button);
    ::DestroyWindow(parent.Handle());
}

} // namespace
} // namespace torvik::app
