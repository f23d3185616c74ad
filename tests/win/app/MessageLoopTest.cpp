#include "app/MessageLoop.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/Controls.h"
#include "app/PageControl.h"
#include "app/TestHost.h"

namespace torvik::app {
namespace {

using wintest::TestHost;

// Posts a key to the focused control and pumps until it has been handled,
// as the program's message loop does.
void PressKey(WPARAM key) {
    const HWND focus = ::GetFocus();
    ASSERT_NE(focus, nullptr);
    ::PostMessageW(focus, WM_KEYDOWN, key, 1);
    ::PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchWindowMessage(msg);
    }
}

TEST(MessageLoop, TheKeyboardMovesBetweenControlsAsInADialog) {
    TestHost host;
    ASSERT_TRUE(host.Create(400, 200));
    const HWND filter =
        CreateChild(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, host.Handle(), L"", 10, WS_EX_CLIENTEDGE);
    ::MoveWindow(filter, 10, 10, 150, 22, TRUE);
    // Controls inside a page are reached too: the page is a control parent.
    PageControl pages;
    ASSERT_TRUE(pages.Create(host.Handle(), 0, 40, 400, 160));
    const HWND page = pages.AddPage(L"Page");
    pages.ShowPage(0);
    const HWND name =
        CreateChild(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, page, L"", 11, WS_EX_CLIENTEDGE);
    ::MoveWindow(name, 10, 10, 150, 22, TRUE);
    const HWND hide = CreateChild(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, page, L"Hide", 12);
    ::MoveWindow(hide, 10, 40, 150, 22, TRUE);
    ::ShowWindow(host.Handle(), SW_SHOW);
    ::SetForegroundWindow(host.Handle());
    ::SetFocus(filter);
    ASSERT_EQ(::GetFocus(), filter);

    PressKey(VK_TAB);
    EXPECT_EQ(::GetFocus(), name);
    PressKey(VK_TAB);
    EXPECT_EQ(::GetFocus(), hide);
    PressKey(VK_TAB);
    EXPECT_EQ(::GetFocus(), filter) << "Tab goes round";

    // Enter and Esc in an edit box become the window's OK and Cancel.
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(host.Received(IDOK, BN_CLICKED));
    EXPECT_TRUE(host.Received(IDCANCEL, BN_CLICKED));
    ::DestroyWindow(host.Handle());
}

// Notes the window-wide shortcuts offered to it and takes them all.
class ShortcutHost : public TestHost {
public:
    std::vector<std::pair<WPARAM, LPARAM>> shortcuts;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kWmShortcutKey) {
            shortcuts.emplace_back(wParam, lParam);
            return 1;
        }
        return TestHost::HandleMessage(msg, wParam, lParam);
    }
};

// Real key presses: the loop reads Ctrl and Shift from the keyboard state.
void TypeWithModifiers(std::vector<WORD> modifiers, WORD key) {
    std::vector<INPUT> keys;
    auto add = [&keys](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        keys.push_back(input);
    };
    for (WORD modifier : modifiers) {
        add(modifier, false);
    }
    add(key, false);
    add(key, true);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) {
        add(*it, true);
    }
    ::SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

TEST(MessageLoop, KeysWithCtrlGoToTheWindowFirst) {
    ShortcutHost host;
    ASSERT_TRUE(host.Create(400, 100));
    const HWND edit =
        CreateChild(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, host.Handle(), L"", 10, WS_EX_CLIENTEDGE);
    ::MoveWindow(edit, 10, 10, 150, 22, TRUE);
    ::ShowWindow(host.Handle(), SW_SHOW);
    ::SetForegroundWindow(host.Handle());
    ::SetFocus(edit);

    TypeWithModifiers({VK_CONTROL, VK_SHIFT}, 'A');
    TypeWithModifiers({VK_CONTROL}, 'P');
    TypeWithModifiers({}, 'X'); // no Ctrl: the edit box's
    MSG msg;
    for (int i = 0; i < 100 && WindowText(edit).empty(); ++i) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchWindowMessage(msg);
        }
        ::Sleep(10);
    }
    const std::vector<std::pair<WPARAM, LPARAM>> expected = {{'A', 1}, {'P', 0}};
    EXPECT_EQ(host.shortcuts, expected);
    EXPECT_EQ(WindowText(edit), L"x");
    ::DestroyWindow(host.Handle());
}

} // namespace
} // namespace torvik::app
