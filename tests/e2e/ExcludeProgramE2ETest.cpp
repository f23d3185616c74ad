#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <string>

#include "UpdaterProcess.h"
#include "WinTestSupport.h"
#include "app/MainWindowIds.h"

namespace torvik::e2e {
namespace {

constexpr const wchar_t* kProgram = L"Torvik Exclude App";

// The row of the program in the list, or -1.
int RowOf(HWND list, const std::wstring& name) {
    const auto rows = ListViewRows(list, 1);
    const auto it =
        std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return row[0] == name; });
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

std::wstring ListBoxLine(HWND listBox, int line) {
    wchar_t text[512] = L"";
    if (::SendMessageW(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(line), 0) < 512) {
        ::SendMessageW(listBox, LB_GETTEXT, static_cast<WPARAM>(line),
                       reinterpret_cast<LPARAM>(text));
    }
    return text;
}

// The list's "Exclude from updates check" (its command, as the context menu
// sends it): the selected program joins the exclusions once, a second time
// is refused, and the rescan when the settings panel closes hides it.
TEST(ExcludeProgramE2E, TheSelectedProgramIsExcludedOnceAndHiddenAfterTheRescan) {
    ASSERT_TRUE(UpdaterWindows().empty());
    ::CoInitialize(nullptr);
    const std::wstring exe = UpdaterExe();
    const std::wstring fixtures = FixturesFolder();
    ASSERT_FALSE(fixtures.empty());
    const std::wstring menu = StartMenuPrograms() + L"\\Torvik E2E Exclude";
    const std::wstring lnk = menu + L"\\" + kProgram + L".lnk";
    ::CreateDirectoryW(menu.c_str(), nullptr);
    ASSERT_TRUE(CreateShortcut(lnk, fixtures + L"\\scanfix_app.exe"));
    ::DeleteFileW((exe.substr(0, exe.find_last_of(L'\\') + 1) + L"updater_lastreply.ini").c_str());
    // No exclusions stored: the settings file holds only these lines.
    ASSERT_TRUE(WriteSettings(exe, kNoAutoCheck));

    UpdaterProcess updater(exe, L"");
    const HWND window = updater.WaitForWindow();
    ASSERT_NE(window, nullptr);
    const HWND list = ControlById(window, app::kIdProgramList);
    ASSERT_NE(list, nullptr);
    int row = -1;
    for (int i = 0; i < 200 && (row = RowOf(list, kProgram)) < 0; ++i) {
        ::Sleep(100);
    }
    ASSERT_GE(row, 0) << "the program is listed";

    auto exclude = [&](const std::wstring& expectedBox) {
        ASSERT_TRUE(SelectListRow(list, row));
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(app::kMenuExcludeProgram, 0), 0);
        const HWND question = WaitForBox(updater.Id(), L"", 10000);
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(BoxText(question), L"Add this program to exclusions?");
        PressYes(question);
        if (!expectedBox.empty()) {
            HWND box = nullptr;
            for (int i = 0; i < 100 && (box == nullptr || box == question); ++i) {
                box = WaitForBox(updater.Id(), L"", 100);
            }
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(BoxText(box), expectedBox);
            PressOk(box);
        }
    };
    exclude(L"");
    // Nothing changes until the next scan.
    EXPECT_EQ(RowOf(list, kProgram), row);
    exclude(L"This program is already in the exclusions list");

    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(app::kMenuProgramExclusions, 0), 0);
    const HWND panel = WaitForPanel(window, L"Settings", 10000);
    ASSERT_NE(panel, nullptr);
    const HWND add = FindDescendant(panel, L"BUTTON", L"Add");
    ASSERT_NE(add, nullptr);
    const HWND exclusions = ::FindWindowExW(::GetParent(add), nullptr, L"LISTBOX", nullptr);
    ASSERT_NE(exclusions, nullptr);
    for (int i = 0; i < 50 && ::SendMessageW(exclusions, LB_GETCOUNT, 0, 0) == 0; ++i) {
        ::Sleep(100);
    }
    ASSERT_EQ(::SendMessageW(exclusions, LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(ListBoxLine(exclusions, 0), kProgram);

    // Closing the panel rescans: excluded programs are hidden.
    ClickButton(FindDescendant(panel, L"BUTTON", L"Close"));
    for (int i = 0; i < 200 && RowOf(list, kProgram) >= 0; ++i) {
        ::Sleep(100);
    }
    EXPECT_LT(RowOf(list, kProgram), 0);
    EXPECT_EQ(updater.Close(), 0u);
    ::DeleteFileW(lnk.c_str());
    ::RemoveDirectoryW(menu.c_str());
    ::CoUninitialize();
}

} // namespace
} // namespace torvik::e2e
