#include <windows.h>

#include <gtest/gtest.h>

#include "app/Controls.h"
#include "app/NavigationBar.h"
#include "app/PageControl.h"
#include "app/TestHost.h"

namespace torvik::app {
namespace {

using wintest::HasVisibleStyle;
using wintest::TestHost;

class PageControlTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Create(500, 300));
        // Never shown: hiding a window again costs Wine two seconds.
        ASSERT_TRUE(pages.Create(host.Handle(), 150, 0, 350, 300));
        for (const wchar_t* caption : {L"General", L"_Wait", L"Programs", L"Options"}) {
            ASSERT_NE(pages.AddPage(caption), nullptr);
        }
    }
    // The pages that show, as a string of their indices.
    std::string Showing() const {
        std::string shown;
        for (int i = 0; i < pages.PageCount(); ++i) {
            if (HasVisibleStyle(pages.Page(i))) {
                shown += std::to_string(i);
            }
        }
        return shown;
    }

    TestHost host;
    PageControl pages;
};

TEST_F(PageControlTest, OnlyThePageChosenShows) {
    ASSERT_EQ(pages.PageCount(), 4);
    EXPECT_EQ(pages.Caption(2), L"Programs");
    EXPECT_EQ(pages.Caption(4), L"");
    EXPECT_EQ(pages.ActivePage(), 0);
    EXPECT_EQ(Showing(), "0");
    for (const int page : {2, 1, 3, 3, 0}) {
        pages.ShowPage(page);
        EXPECT_EQ(pages.ActivePage(), page);
        EXPECT_EQ(Showing(), std::to_string(page));
    }
    for (const int outside : {-1, 4}) {
        pages.ShowPage(outside);
        EXPECT_EQ(Showing(), "0");
    }
    // The pages fill the control, also after it changes size.
    ::MoveWindow(pages.Handle(), 150, 0, 300, 200, TRUE);
    for (int i = 0; i < pages.PageCount(); ++i) {
        RECT r{};
        ::GetClientRect(pages.Page(i), &r);
        EXPECT_EQ(r.right, 300);
        EXPECT_EQ(r.bottom, 200);
    }
}

TEST_F(PageControlTest, APagesButtonsReachTheWindowAboveIt) {
    Button unhandled, handled;
    ASSERT_TRUE(unhandled.Create(pages.Page(0), L"Check", 31));
    ASSERT_TRUE(handled.Create(pages.Page(0), L"Stop", 32));
    ::MoveWindow(unhandled.Handle(), 10, 10, 80, 24, TRUE);
    ::MoveWindow(handled.Handle(), 100, 10, 80, 24, TRUE);
    int clicks = 0;
    handled.onClick = [&clicks] { ++clicks; };
    ::SendMessageW(unhandled.Handle(), BM_CLICK, 0, 0);
    ::SendMessageW(handled.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(host.Received(31, BN_CLICKED));
    EXPECT_FALSE(host.Received(32, BN_CLICKED));
    EXPECT_EQ(clicks, 1);
}

TEST_F(PageControlTest, TheNavigationBarListsAndChoosesPages) {
    NavigationBar bar;
    ASSERT_TRUE(bar.Create(host.Handle(), pages, 20));
    ::MoveWindow(bar.Handle(), 0, 0, 150, 300, TRUE);
    const HWND list = bar.Handle();
    ASSERT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
    const wchar_t* rows[] = {L"General", L"Programs", L"Options"};
    for (int row = 0; row < 3; ++row) {
        wchar_t text[32] = {};
        ::SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, rows[row]);
    }
    EXPECT_EQ(bar.SelectedRow(), 0);

    // A click on the row "Programs", as the mouse makes it.
    RECT item{};
    ::SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(list, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(pages.ActivePage(), 2);
    EXPECT_EQ(Showing(), "2");
    EXPECT_FALSE(host.Received(20, LBN_SELCHANGE)); // the bar handled its own choice

    // The bar follows the pages shown elsewhere; a "_" page has no row.
    pages.ShowPage(3);
    EXPECT_EQ(bar.SelectedRow(), 2);
    pages.ShowPage(1);
    EXPECT_EQ(bar.SelectedRow(), -1);
    bar.SelectRow(0);
    EXPECT_EQ(pages.ActivePage(), 0);

    // Pages added later appear after a refresh.
    pages.AddPage(L"Log");
    bar.Refresh();
    EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(bar.SelectedRow(), 0);
}

TEST_F(PageControlTest, ABarGoneNoLongerFollowsThePages) {
    {
        NavigationBar bar;
        ASSERT_TRUE(bar.Create(host.Handle(), pages, 20));
    }
    pages.ShowPage(2); // would reach a destroyed bar
    EXPECT_EQ(pages.ActivePage(), 2);
}

} // namespace
} // namespace torvik::app
