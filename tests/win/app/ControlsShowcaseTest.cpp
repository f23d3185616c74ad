#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "WinTestSupport.h"
#include "app/CaptionPanel.h"
#include "app/Controls.h"
#include "app/LinkLabel.h"
#include "app/ListViewEx.h"
#include "app/TestHost.h"

namespace torvik::app {
namespace {

// The list, the link label and a floating panel in one window, as the main
// window will hold them, for a person to look at.
TEST(ControlsShowcase, AListALinkAndAPanelTogether) {
    wintest::TestHost host;
    ASSERT_TRUE(host.Create(640, 360));
    ::SetWindowTextW(host.Handle(), L"Controls");

    LinkLabel link;
    ASSERT_TRUE(link.Create(host.Handle(), L"<a href=><u>&lt;&lt; Back", 1));
    ::MoveWindow(link.Handle(), 10, 10, 10, 10, TRUE);
    LinkLabel note;
    ASSERT_TRUE(note.Create(host.Handle(), L"<b>3</b> programs, <i>1</i> with a newer version", 2));
    ::MoveWindow(note.Handle(), 120, 10, 10, 10, TRUE);

    ListViewEx list;
    ASSERT_TRUE(list.Create(host.Handle(), 3, {false, false, true}));
    ::MoveWindow(list.Handle(), 10, 36, 620, 314, TRUE);
    list.SetDesignedColumns({L"Program:200:L:0", L"My Version:110:L:1", L"Database status:150:L:2",
                             L"Executable:150:L:3"});
    list.AddRange({L"Demo App", L"1.2.3 build:4", L"1.3.0 build:0", L"C:\\Demo\\app.exe"});
    list.AddRange({L"Demo Tool", L"10.0.2 build:100", L"up to date", L"C:\\Demo\\tool.exe"});
    list.AddRange({L"Fish & Chips", L"2.0", L"Not in the database yet", L"C:\\Fish\\fc.exe"});
    list.SetChecked(1, true);
    list.SelectItemIdCentered(0);

    CaptionPanel panel;
    ASSERT_TRUE(panel.Create(host.Handle(), L"Program details", 300, 150));
    Label body;
    ASSERT_TRUE(body.Create(panel.Body(), L"Demo App 1.3.0 is available."));
    ::MoveWindow(body.Handle(), 10, 12, 260, 18, TRUE);
    panel.CentreAndShow(40, 80);

    EXPECT_TRUE(link.IsLink());
    EXPECT_FALSE(note.IsLink());
    EXPECT_EQ(list.GetText_K(), L"Demo App");
    EXPECT_EQ(list.IndexOf_CI(L"fish & chips"), 2);
    EXPECT_EQ(wintest::DepthAmongSiblings(panel.Handle()), 0) << "the panel floats above the list";
    EXPECT_TRUE(wintest::SaveWindowShot(host.Handle(), L"controls") ||
                std::getenv("TORVIK_SCREENSHOTS") == nullptr);

    // What the screen shows: the panel's caption bar, not the list drawn
    // over it.
    ::ShowWindow(host.Handle(), SW_SHOW);
    ::RedrawWindow(host.Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT client{};
    ::GetClientRect(panel.Handle(), &client);
    POINT inBar{client.right - 40, 4};
    ::ClientToScreen(panel.Handle(), &inBar);
    const HDC screen = ::GetDC(nullptr);
    const COLORREF shown = ::GetPixel(screen, inBar.x, inBar.y);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(shown, ::GetSysColor(COLOR_ACTIVECAPTION));
}

} // namespace
} // namespace torvik::app
