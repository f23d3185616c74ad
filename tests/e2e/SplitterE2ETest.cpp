#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "UpdaterProcess.h"
#include "WinTestSupport.h"

namespace torvik::e2e {
namespace {

int HeightOf(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}

LPARAM ClientPoint(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(static_cast<short>(y)));
}

// The bar between the main pages and the bottom tabs: dragged up, the
// bottom area grows by as much and the pages shrink; the window keeps its
// size.
TEST(SplitterE2E, DraggingTheBarUpGrowsTheBottomArea) {
    const std::wstring exe = UpdaterExe();
    ASSERT_TRUE(WriteSettings(exe, kNoAutoCheck));
    UpdaterProcess updater(exe, L"");
    const HWND window = updater.WaitForWindow();
    ASSERT_NE(window, nullptr);
    const HWND bar = ::FindWindowExW(window, nullptr, L"TorvikSplitter", nullptr);
    const HWND tabs = ::FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr);
    const HWND pages = ::FindWindowExW(window, nullptr, L"TorvikPageControl", nullptr);
    ASSERT_TRUE(bar && tabs && pages);
    EXPECT_EQ(HeightOf(tabs), 246) << "the designed height";
    const int pagesBefore = HeightOf(pages);

    // The mouse as the bar would hear it: pressed on it, moved 100 pixels
    // up (in the bar's coordinates before it moves), let go.
    ::PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(50, 2));
    ::PostMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(50, -98));
    ::PostMessageW(bar, WM_LBUTTONUP, 0, ClientPoint(50, -98));
    for (int i = 0; i < 50 && HeightOf(tabs) == 246; ++i) {
        ::Sleep(100);
    }
    EXPECT_EQ(HeightOf(tabs), 346);
    EXPECT_EQ(HeightOf(pages), pagesBefore - 100);
    RECT barRect{}, tabsRect{};
    ::GetWindowRect(bar, &barRect);
    ::GetWindowRect(tabs, &tabsRect);
    EXPECT_EQ(barRect.bottom, tabsRect.top) << "the bar lies on the bottom area";
    wintest::SaveWindowShot(window, L"main_window_splitter_dragged");
    EXPECT_EQ(updater.Close(), 0u);
}

} // namespace
} // namespace torvik::e2e
