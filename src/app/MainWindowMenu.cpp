// The main window's menu: navigation, the settings panel's pages, help.
#include <windows.h>

#include <shellapi.h>

#include "app/MainWindow.h"
#include "app/MainWindowIds.h"
#include "service/Endpoints.h"

namespace torvik::app {
namespace {

struct MenuEntry {
    UINT command; // 0: a separator
    const wchar_t* caption;
    bool enabled; // the windows of some entries come later
};

HMENU PopupOf(std::initializer_list<MenuEntry> entries) {
    const HMENU popup = ::CreatePopupMenu();
    for (const auto& e : entries) {
        if (e.command == 0) {
            ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        } else {
            ::AppendMenuW(popup, MF_STRING | (e.enabled ? 0 : MF_GRAYED), e.command, e.caption);
        }
    }
    return popup;
}

} // namespace

void MainWindow::CreateMainMenu() {
    // The menu bar owns its popups and goes with the window.
    const HMENU bar = ::CreateMenu();
    ::AppendMenuW(bar, MF_POPUP,
                  reinterpret_cast<UINT_PTR>(PopupOf({{kMenuMyPrograms, L"My Programs", true},
                                                      {kMenuCommunity, L"Community", false},
                                                      {0, nullptr, false},
                                                      {kMenuMyAccount, L"My account", true},
                                                      {0, nullptr, false},
                                                      {kMenuExit, L"Exit", true}})),
                  L"&File");
    ::AppendMenuW(
        bar, MF_POPUP,
        reinterpret_cast<UINT_PTR>(PopupOf({{kMenuAddCustomProgram, L"Add custom program", true},
                                            {kMenuProgramExclusions, L"Program exclusions", true},
                                            {kMenuOtherSettings, L"Other settings...", true}})),
        L"&Settings");
    ::AppendMenuW(
        bar, MF_POPUP,
        reinterpret_cast<UINT_PTR>(PopupOf({{kMenuFeedback, L"Feedback", false},
                                            {kMenuSupportForums, L"Support forums", true},
                                            {kMenuCheckForUpdates, L"Check for Updates...", false},
                                            {kMenuAbout, L"About", false}})),
        L"&Help");
    ::SetMenu(Handle(), bar);
}

bool MainWindow::OnMenuCommand(UINT command) {
    switch (command) {
    case kMenuMyPrograms:
        ShowMyProgramsPage();
        return true;
    case kMenuExit:
        ::PostMessageW(Handle(), WM_CLOSE, 0, 0);
        return true;
    case kMenuMyAccount:
        account_->bMyAccountClick();
        return true;
    case kMenuAddCustomProgram:
        ShowSettingsPanel(0);
        return true;
    case kMenuProgramExclusions:
        ShowSettingsPanel(1);
        return true;
    case kMenuOtherSettings:
        ShowSettingsPanel(2);
        return true;
    case kMenuExcludeProgram:
        programListMenu_->ExcludeSelected();
        return true;
    case kMenuAddCommentUrl:
        contribution_->pi_CommunityNotesClick(programList_.SelectedRecord() != nullptr);
        return true;
    case kMenuSupportForums:
        ::ShellExecuteW(Handle(), L"open", SitePage(L"ForumThreads.aspx?AppId=14").c_str(), nullptr,
                        nullptr, SW_SHOWNORMAL);
        return true;
    default:
        return false;
    }
}

} // namespace torvik::app
