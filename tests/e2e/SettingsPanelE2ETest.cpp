#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "UpdaterProcess.h"
#include "WinTestSupport.h"
#include "app/MainWindowIds.h"

namespace torvik::e2e {
namespace {

int ListRows(HWND list) {
    return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

// The settings panel from the menu: a custom program is added once, its
// second addition is refused with the duplicate message, and the panel's
// pages are those of the navigation bar.
TEST(SettingsPanelE2E, ACustomProgramIsAddedOnceAndThePanelCloses) {
    const std::wstring exe = UpdaterExe();
    ASSERT_TRUE(WriteSettings(exe, kNoAutoCheck));
    UpdaterProcess updater(exe, L"");
    const HWND window = updater.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(app::kMenuAddCustomProgram, 0), 0);
    const HWND panel = WaitForPanel(window, L"Settings", 10000);
    ASSERT_NE(panel, nullptr);
    // The navigation bar lies beside the pages, not on one.
    const HWND body = FindDescendant(panel, L"TorvikCaptionPanelBody", L"");
    const HWND nav = ::FindWindowExW(body, nullptr, L"LISTBOX", nullptr);
    ASSERT_NE(nav, nullptr);
    EXPECT_EQ(::SendMessageW(nav, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(::SendMessageW(nav, LB_GETCURSEL, 0, 0), 0) << "the custom programs page";

    const HWND add = FindDescendant(panel, L"BUTTON", L"Add program");
    ASSERT_NE(add, nullptr);
    const HWND page = ::GetParent(add);
    EXPECT_TRUE(::IsWindowVisible(page));
    const HWND list = ::FindWindowExW(page, nullptr, WC_LISTVIEWW, nullptr);
    const HWND name = ::FindWindowExW(page, nullptr, L"EDIT", nullptr); // the program's name
    ASSERT_TRUE(list && name);
    ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L" Portable Tool "));
    ClickButton(add);
    for (int i = 0; i < 50 && ListRows(list) == 0; ++i) {
        ::Sleep(100);
    }
    EXPECT_EQ(ListRows(list), 1);
    wintest::SaveWindowShot(window, L"settings_panel");

    ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"portable tool"));
    ClickButton(add);
    const HWND box = WaitForBox(updater.Id(), L"", 10000); // a box without caption
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), L"Program \"portable tool\" is already in the list");
    PressOk(box);
    EXPECT_EQ(ListRows(list), 1);

    ClickButton(FindDescendant(panel, L"BUTTON", L"Close"));
    for (int i = 0; i < 50 && ::IsWindowVisible(panel); ++i) {
        ::Sleep(100);
    }
    EXPECT_FALSE(::IsWindowVisible(panel));
    EXPECT_EQ(updater.Close(), 0u);
}

} // namespace
} // namespace torvik::e2e
