#include <windows.h>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "app/CaptionPanel.h"
#include "app/Controls.h"
#include "app/FileEdit.h"
#include "app/NavigationBar.h"
#include "app/NumericEdit.h"
#include "app/PageControl.h"
#include "app/TestHost.h"

namespace torvik::app {
namespace {

// Everything together, for a person to look at: a navigation bar, a page of
// controls, and two panels over them, the front one without a caption.
TEST(PanelShowcase, TwoPanelsOverAPageControl) {
    wintest::TestHost host;
    ASSERT_TRUE(host.Create(640, 420));
    ::SetWindowTextW(host.Handle(), L"Panels");
    PageControl pages;
    ASSERT_TRUE(pages.Create(host.Handle(), 150, 0, 490, 420));
    const HWND general = pages.AddPage(L"General");
    pages.AddPage(L"_Wait");
    pages.AddPage(L"Programs");
    pages.AddPage(L"Options");
    NavigationBar bar;
    ASSERT_TRUE(bar.Create(host.Handle(), pages, 10));
    ::MoveWindow(bar.Handle(), 0, 0, 150, 420, TRUE);

    Label label;
    ASSERT_TRUE(label.Create(general, L"Program:"));
    ::MoveWindow(label.Handle(), 10, 12, 120, 18, TRUE);
    FileEdit file;
    ASSERT_TRUE(file.Create(general, 20));
    file.Move(130, 10, 340, 21);
    file.SetText(L"C:\\Program Files\\Tool\\tool.exe");
    Label daysLabel;
    ASSERT_TRUE(daysLabel.Create(general, L"Interval (days):"));
    ::MoveWindow(daysLabel.Handle(), 10, 42, 118, 18, TRUE);
    NumericEdit days;
    ASSERT_TRUE(days.Create(general, 30));
    ::MoveWindow(days.Handle(), 130, 40, 80, 21, TRUE);
    days.SetValue(7.5);

    CaptionPanel options;
    ASSERT_TRUE(options.Create(host.Handle(), L"Download options", 260, 160));
    Label optionsLabel;
    ASSERT_TRUE(optionsLabel.Create(options.Body(), L"Limit (kB/s):"));
    ::MoveWindow(optionsLabel.Handle(), 10, 12, 80, 18, TRUE);
    NumericEdit limit;
    ASSERT_TRUE(limit.Create(options.Body(), 40));
    ::MoveWindow(limit.Handle(), 95, 10, 80, 21, TRUE);
    limit.SetValue(250);
    options.CentreAndShow(-60, -40);

    CaptionPanel wait;
    ASSERT_TRUE(wait.Create(host.Handle(), L"", 220, 90));
    wait.ShowCloseButton(false);
    Label waitLabel;
    ASSERT_TRUE(waitLabel.Create(wait.Body(), L"Please wait..."));
    ::MoveWindow(waitLabel.Handle(), 10, 20, 180, 18, TRUE);
    wait.CentreAndShow(60, 90);

    EXPECT_EQ(wintest::DepthAmongSiblings(wait.Handle()), 0);
    EXPECT_EQ(::GetWindow(wait.Handle(), GW_HWNDNEXT), options.Handle());
    wintest::SaveWindowShot(host.Handle(), L"caption_panels");
}

} // namespace
} // namespace torvik::app
