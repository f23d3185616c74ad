// The main window's program list: publishing into it, the filter box and
// the switches, the programs' icons and their upload, and the details page.
#include <windows.h>

#include <commctrl.h>

#include "app/MainWindow.h"
#include "app/MainWindowIds.h"
#include "app/ProgramIconUpload.h"
#include "common/Error.h"
#include "common/Text.h"
#include "protocol/ServiceHeader.h"

namespace torvik::app {

void MainWindow::CreateIcons() {
    icons_ = std::make_unique<ShellIconCache>(
        services_.fs, inventory_->Links, PostOnArrival(Handle(), kWmIconsArrived),
        [this](const std::wstring& text) { services_.dialogs.ShowMessage(text); });
    IconUploadServices upload{internet_,
                              inventory_->Ansi,
                              services_.fs,
                              [this] { WaitLoopTurn(); },
                              build_,
                              [] { return ServiceHeader(); },
                              [this] { return ServiceUrl(); }};
    iconSync_ = std::make_unique<IconSync>(
        IconSyncServices{[upload](const IconUploadItem& program) { UploadIcon(program, upload); },
                         [this](bool visible) {
                             ::ShowWindow(syncingIcons_.Handle(), visible ? SW_SHOW : SW_HIDE);
                             ::UpdateWindow(syncingIcons_.Handle());
                         }});
}

void MainWindow::SyncIcons() {
    try {
        iconSync_->Run(inventory_->Lists.ProgramList);
    } catch (...) {
        ReportError(CurrentExceptionText());
    }
}

bool MainWindow::OnListCommand(int id, int code) {
    if (id == kIdFilter && code == EN_CHANGE) {
        programList_.SetFilterText(filter_.Text());
        return true;
    }
    if (id == kIdHideUpToDate && code == BN_CLICKED) {
        ApplySwitches();
        return true;
    }
    return false;
}

void MainWindow::ApplySwitches() {
    ProgramFilterSwitches switches = programList_.Switches();
    switches.hideUpToDate = ::SendMessageW(hideUpToDate_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    switches.displayDrivers = IsChecked(L"cbDisplayDrivers");
    programList_.SetSwitches(switches);
}

void MainWindow::ShowBottomPage(int page) {
    ::ShowWindow(home_, page == 0 ? SW_SHOW : SW_HIDE);
    ::ShowWindow(detailsPage_.Handle(), page == 1 ? SW_SHOW : SW_HIDE);
    if (page == 0) {
        NavigateHomePage();
    }
}

void MainWindow::RepaintProgramList() {
    // The reply may have come for TempProgramList while a check builds it;
    // the published records are what the list shows.
    ClearItems();
    RefillProgramList();
}

void MainWindow::BeginUpdate() {
    // The view freezes itself while it refills.
}

void MainWindow::ClearItems() {
    programList_.SaveSelection();
    programList_.ClearRows();
}

void MainWindow::RefillProgramList() {
    programList_.SetRecheckText(check_->RecheckText);
    programList_.Refill();
    programList_.Resort();
    programList_.RestoreSelection();
}

void MainWindow::EndUpdate() {
    ::InvalidateRect(programList_.Handle(), nullptr, TRUE);
}

} // namespace torvik::app
