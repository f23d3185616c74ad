// The icon cache plugged into an owner-drawn program list the way the main
// window will: each row asks for its executable's icon while painting, the
// worker's hand-over posts the window a message, and the window repaints.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "app/ListViewEx.h"
#include "app/ShellIconCache.h"
#include "app/Window.h"
#include "platform/win32/Com.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ShellLinks.h"

namespace torvik::app {
namespace {

constexpr UINT kIconsArrived = WM_APP + 11;

struct Row {
    std::wstring name;
    std::wstring file;
};

class ProgramsHost : public Window {
public:
    std::vector<Row> rows;
    ListViewEx list;
    std::unique_ptr<ShellIconCache> icons;
    int repaints = 0;
    int iconsDrawn = 0; // in the last full paint of the rows

    bool Create() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        if (!Window::Create(L"TorvikProgramIconsTest", WS_OVERLAPPEDWINDOW, 0, L"Program icons", 40,
                            40, 480, 220, nullptr) ||
            !list.Create(Handle(), 100, {.ownerDraw = true})) {
            return false;
        }
        ::MoveWindow(list.Handle(), 8, 8, 450, 160, TRUE);
        list.SetDesignedColumns({L"Program:200:L:0", L"Executable:230:L:1"});
        for (const Row& row : rows) {
            list.AddRange({row.name, row.file});
        }
        list.drawItem = [this](DRAWITEMSTRUCT& item) { DrawRow(item); };
        return true;
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kIconsArrived) {
            ++repaints;
            ::InvalidateRect(list.Handle(), nullptr, FALSE);
            return 0;
        }
        return Window::HandleMessage(msg, wParam, lParam);
    }

private:
    // The "Program" cell: the icon 3 pixels in from the cell's left edge at
    // the row's top, then the name.
    void DrawRow(DRAWITEMSTRUCT& item) {
        const Row& row = rows.at(item.itemID);
        if (item.itemID == 0) {
            iconsDrawn = 0;
        }
        ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));
        RECT program = list.GetAbsColumnRect(0, item.rcItem);
        if (HICON icon = icons->IconFor(row.file)) {
            ::DrawIconEx(item.hDC, program.left + 3, item.rcItem.top, icon, 16, 16, 0, nullptr,
                         DI_NORMAL);
            ++iconsDrawn;
        }
        program.left += 22;
        ListViewEx::DrawTextW_Left(item.hDC, row.name, program);
        ListViewEx::DrawTextW_Left_2(item.hDC, row.file, list.GetAbsColumnRect(1, item.rcItem));
    }
};

// Icons come from a worker thread: give it time on a loaded machine.
template <typename Done> bool PumpUntil(Done done) {
    return wintest::PumpUntil(done, 10000);
}

TEST(ProgramIconsList, TheFirstPaintShowsNoIconsAndTheRepaintShowsThemAll) {
    win32::ComApartment com;
    win32::Win32FileSystem fs;
    win32::Win32ShellLinks links;
    const std::wstring fixtures = wintest::BesideTestExe(L"fixtures\\");
    ProgramsHost host;
    host.rows = {{L"Icon Fixture", fixtures + L"iconfix_app.exe"},
                 {L"Scan Fixture (no icon of its own)", fixtures + L"scanfix_app.exe"},
                 {L"Fixtures folder", wintest::BesideTestExe(L"fixtures")},
                 {L"Notes", fixtures + L"notes.txt"}};
    ASSERT_TRUE(host.Create());
    host.icons = std::make_unique<ShellIconCache>(
        fs, links, PostOnArrival(host.Handle(), kIconsArrived), [](const std::wstring&) {});

    ::ShowWindow(host.Handle(), SW_SHOW);
    ::UpdateWindow(host.Handle());
    EXPECT_EQ(host.iconsDrawn, 0) << "painting never waits for the shell";
    ASSERT_TRUE(PumpUntil([&] { return host.iconsDrawn == 4; }))
        << host.iconsDrawn << " icons after " << host.repaints << " repaints";
    EXPECT_GE(host.repaints, 1);
    wintest::SaveWindowShot(host.Handle(), L"ProgramIcons_list");
    host.icons.reset(); // the worker ends before the window it posts to
}

} // namespace
} // namespace torvik::app
