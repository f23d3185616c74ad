#include <windows.h>

#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "app/MainWindowIds.h"
#include "app/ProgramListMenu.h"
#include "app/TestHost.h"
#include "platform/win32/Win32Locale.h"
#include "unit/fakes/FakePlatform.h"

namespace torvik::app {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kListId = 300;
constexpr UINT_PTR kMenuWatch = 77;

// What the watch saw of the popup menu while it was open.
struct MenuSeen {
    bool open = false;
    std::vector<std::wstring> captions;
    std::vector<UINT> commands;
    bool choose = false; // picks the first entry, else closes the menu
    bool shot = false;
};
MenuSeen menuSeen;

HWND OpenPopupMenu() {
    const HWND menu = ::FindWindowW(L"#32768", nullptr);
    return menu != nullptr && ::IsWindowVisible(menu) ? menu : nullptr;
}

// Runs inside the menu's own message loop: notes the entries, keeps a
// picture, then chooses as a user would (keys) or closes the menu.
void CALLBACK WatchMenu(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    const HWND window = OpenPopupMenu();
    if (window == nullptr) {
        return;
    }
    ::KillTimer(hwnd, id);
    menuSeen.open = true;
    const auto menu = reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0));
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t caption[128] = L"";
        ::GetMenuStringW(menu, static_cast<UINT>(i), caption, 128, MF_BYPOSITION);
        menuSeen.captions.emplace_back(caption);
        menuSeen.commands.push_back(::GetMenuItemID(menu, i));
    }
    if (menuSeen.shot) {
        wintest::SaveWindowShot(hwnd, L"program_list_menu");
    }
    if (menuSeen.choose) {
        ::PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    } else {
        ::EndMenu();
    }
}

// Routes the list's notifications and the menu's command as the main
// window does.
class MenuHost : public wintest::TestHost {
public:
    ProgramListMenu* menu = nullptr;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_CONTEXTMENU && menu != nullptr &&
            menu->OnContextMenu(reinterpret_cast<HWND>(wParam), lParam, Handle())) {
            return 0;
        }
        return TestHost::HandleMessage(msg, wParam, lParam);
    }
    std::optional<LRESULT> OnNotify(NMHDR& header) override {
        if (menu != nullptr && menu->OnNotify(header, Handle())) {
            return TRUE;
        }
        return std::nullopt;
    }
    bool OnCommand(int id, int code, HWND control) override {
        TestHost::OnCommand(id, code, control);
        if (control == nullptr && id == kMenuExcludeProgram && menu != nullptr) {
            menu->ExcludeSelected();
        }
        return true;
    }
};

class ProgramListMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(wintest::ListViewClassesReady());
        menuSeen = {};
        for (const wchar_t* name : {L"Fresh Install", L"Media Player", L"Photo Archive"}) {
            auto& r = *records.emplace_back(std::make_unique<TProgramRecord>());
            r.ProgramName = name;
            r.TargetExePath = L"C:\\Program Files\\" + std::wstring(name) + L"\\";
            r.TargetExeFilename = L"app.exe";
            r.TargetExeVersion = L"1.0.0 build:1";
            r.Status = ProgramStatus::New;
        }
        ASSERT_TRUE(host.Create(520, 160));
        ASSERT_TRUE(view.Create(host.Handle(), kListId, records, compare));
        ::MoveWindow(view.Handle(), 8, 8, 504, 144, TRUE);
        view.Refill();
        host.menu = &menu;
    }

    void TearDown() override { ::KillTimer(host.Handle(), kMenuWatch); }

    // The list's right click as the list reports it, at the middle of a row
    // (or below the rows).
    void RightClick(int row) {
        RECT rowRect{};
        ListView_GetItemRect(view.Handle(), std::max(row, 0), &rowRect, LVIR_BOUNDS);
        NMITEMACTIVATE click{};
        click.hdr.hwndFrom = view.Handle();
        click.hdr.idFrom = kListId;
        click.hdr.code = NM_RCLICK;
        click.iItem = row;
        click.ptAction = {40, row >= 0 ? (rowRect.top + rowRect.bottom) / 2 : 130};
        // Closes any menu that opens, so that a wrong one cannot hold the test.
        ::SetTimer(host.Handle(), kMenuWatch, 50, WatchMenu);
        ::SendMessageW(host.Handle(), WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&click));
    }

    void Select(int row) {
        ListView_SetItemState(view.Handle(), row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }

    ProgramLists::RecordList records;
    win32::Win32TextCompare compare;
    MenuHost host;
    ProgramListView view;
    testing::FakeDialogs dialogs;
    std::vector<std::wstring> exclusions{L"setup"};
    int refreshes = 0;
    ProgramListMenu menu{view, ExcludeProgramServices{
                                   dialogs, 0, [this] { return exclusions; },
                                   [this](const std::wstring& name) { exclusions.push_back(name); },
                                   [this] { ++refreshes; }}};
};

TEST_F(ProgramListMenuTest, TheEntryExcludesTheSelectedProgram) {
    // Shown and in front before the menu opens: the picture must not
    // activate another window under the open menu.
    ::ShowWindow(host.Handle(), SW_SHOW);
    ::SetForegroundWindow(host.Handle());
    Select(1);
    menuSeen.choose = true;
    menuSeen.shot = true;
    RightClick(1);
    EXPECT_TRUE(menuSeen.open);
    EXPECT_THAT(menuSeen.captions, ElementsAre(L"Exclude from updates check", L"Add comment/url"));
    EXPECT_THAT(menuSeen.commands, ElementsAre(kMenuExcludeProgram, kMenuAddCommentUrl));

    // The chosen entry comes to the window as its command.
    ASSERT_TRUE(wintest::PumpUntil([this] { return host.Received(kMenuExcludeProgram, 0); }));
    EXPECT_THAT(dialogs.questions, ElementsAre(L"Add this program to exclusions?"));
    EXPECT_THAT(exclusions, ElementsAre(L"setup", L"Media Player"));
    EXPECT_EQ(refreshes, 1);

    // Once more: refused, the list as it was.
    ::SendMessageW(host.Handle(), WM_COMMAND, MAKEWPARAM(kMenuExcludeProgram, 0), 0);
    EXPECT_THAT(dialogs.messages, ElementsAre(L"This program is already in the exclusions list"));
    EXPECT_THAT(exclusions, ElementsAre(L"setup", L"Media Player"));
}

TEST_F(ProgramListMenuTest, TheKeyboardOpensTheMenuBelowTheSelectedRow) {
    ::ShowWindow(host.Handle(), SW_SHOW);
    ::SetForegroundWindow(host.Handle());
    Select(2);
    menuSeen.choose = true;
    ::SetTimer(host.Handle(), kMenuWatch, 50, WatchMenu);
    // What the list does with Shift+F10: the message goes up to its parent.
    ::SendMessageW(view.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view.Handle()), -1);
    EXPECT_TRUE(menuSeen.open);
    ASSERT_TRUE(wintest::PumpUntil([this] { return host.Received(kMenuExcludeProgram, 0); }));
    EXPECT_THAT(exclusions, ElementsAre(L"setup", L"Photo Archive"));

    // A position is the mouse's, which NM_RCLICK has handled already.
    EXPECT_FALSE(menu.OnContextMenu(view.Handle(), MAKELPARAM(10, 10), host.Handle()));
}

TEST_F(ProgramListMenuTest, NoMenuWithoutASelectedRow) {
    RightClick(-1);
    // A menu would have been open (and closed by the watch) before the
    // click returned.
    EXPECT_FALSE(menuSeen.open);
    EXPECT_FALSE(menu.Open(host.Handle(), POINT{100, 100}));

    // A command that arrives when nothing is selected asks nothing.
    menu.ExcludeSelected();
    EXPECT_THAT(dialogs.questions, IsEmpty());
    EXPECT_THAT(exclusions, ElementsAre(L"setup"));

    // Another control's right click is not the list's.
    NMHDR other{host.Handle(), 0, NM_RCLICK};
    EXPECT_FALSE(menu.OnNotify(other, host.Handle()));
}

} // namespace
} // namespace torvik::app
