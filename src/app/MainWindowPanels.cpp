// The main window's floating panels: the privacy warning, the please-wait
// panel with its spinner and cancel, and the settings panel with the user's
// lists and switches.
#include <windows.h>

#include <commctrl.h>

#include "app/MainWindow.h"
#include "app/MainWindowIds.h"
#include "common/ProcessFlags.h"
#include "common/Text.h"
#include "ui/UserLists.h"

namespace torvik::app {
namespace {

const wchar_t* const kPrivacyText =
    L"By using the \"check for updates\" feature, a list of all the programs\r\n"
    L"that are displayed in the main program list will be submitted to our\r\n"
    L"server. This includes names of files, version numbers, file dates etc.\r\n"
    L"\r\n"
    L"Some details about your system (e.g. Windows version) will also be sent.\r\n"
    L"\r\n"
    L"If you believe that this information affects your privacy,\r\n"
    L"PLEASE PRESS CANCEL NOW.";

enum SettingsPage { kCustomProgramsPage, kExclusionsPage, kOtherSettingsPage };

} // namespace

void MainWindow::CreatePanels() {
    CreatePrivacyPanel();
    CreatePleaseWaitPanel();
    CreateSettingsPanel();
}

void MainWindow::CreatePrivacyPanel() {
    privacyPanel_.Create(Handle(), L"Privacy warning", 441, 242);
    const HWND body = privacyPanel_.Body();
    privacyText_ = CreateChild(L"EDIT", ES_MULTILINE | ES_READONLY | WS_VSCROLL, body, kPrivacyText,
                               0, WS_EX_CLIENTEDGE);
    Place(privacyText_, 8, 8, 417, 140);
    privacyDontShow_ = CreateChild(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, body,
                                   L"Don't show this warning in the future", 0);
    Place(privacyDontShow_, 8, 156, 300, 20);
    privacyOk_.Create(body, L"OK", IDOK);
    Place(privacyOk_.Handle(), 250, 184, 80, 25);
    privacyCancel_.Create(body, L"Cancel", IDCANCEL);
    Place(privacyCancel_.Handle(), 340, 184, 80, 25);
    privacyOk_.onClick = [this] { PrivacyOk(); };
    privacyCancel_.onClick = [this] { ::ShowWindow(privacyPanel_.Handle(), SW_HIDE); };
    privacyPanel_.onClose = privacyCancel_.onClick;
    privacyPanel_.closeOnEscape = true;
}

void MainWindow::PrivacyOk() {
    if (::SendMessageW(privacyDontShow_, BM_GETCHECK, 0, 0) == BST_CHECKED && settings_) {
        settings_->Controls().SetChecked(L"cbDisablePrivacyWarning", true);
    }
    ::ShowWindow(privacyPanel_.Handle(), SW_HIDE);
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    // The check runs from the window's own queue, not inside the button's
    // notification.
    ::PostMessageW(Handle(), kWmPrivacyAccepted, 0, 0);
}

void MainWindow::CreatePleaseWaitPanel() {
    pleaseWaitPanel_.Create(Handle(), L"", 199, 78);
    pleaseWaitPanel_.ShowCloseButton(false);
    const HWND body = pleaseWaitPanel_.Body();
    pleaseWaitText_.Create(body);
    Place(pleaseWaitText_.Handle(), 8, 8, 160, 16);
    spinnerText_.Create(body, L"-");
    Place(spinnerText_.Handle(), 176, 8, 12, 16);
    pleaseWaitCancel_.Create(body, L"cancel", 0);
    Place(pleaseWaitCancel_.Handle(), 60, 30, 75, 22);
    pleaseWaitCancel_.onClick = [this] { CancelPressed(); };
}

void MainWindow::CancelPressed() {
    CancelRequested = true;
    if (http_->WorkingStatus() != 0) {
        http_->StopRequest();
    }
}

void MainWindow::CreateSettingsPanel() {
    settingsPanel_.Create(Handle(), L"Settings", 624, 374);
    const HWND body = settingsPanel_.Body();
    settingsPages_.Create(body, 150, 0, 466, 310);
    const HWND custom = settingsPages_.AddPage(L"Custom Programs");
    const HWND exclusions = settingsPages_.AddPage(L"Exclusions");
    const HWND other = settingsPages_.AddPage(L"Other Settings");
    settingsNav_.Create(body, settingsPages_, 0);
    Place(settingsNav_.Handle(), 0, 0, 146, 310);
    settingsClose_.Create(body, L"Close", 0);
    Place(settingsClose_.Handle(), 520, 318, 90, 25);
    settingsClose_.onClick = [this] { CloseSettingsPanel(); };
    settingsPanel_.onClose = settingsClose_.onClick;
    settingsPanel_.closeOnEscape = true;

    // Custom programs: a name and its executable.
    customPrograms_.Create(custom, 0);
    customPrograms_.SetDesignedColumns({L"Program:180:L:0", L"Executable:260:L:1"});
    Place(customPrograms_.Handle(), 8, 8, 450, 170);
    if (settings_) {
        settings_->Controls().Add(L"lvCustomPrograms", customPrograms_.Handle());
    }
    Place(CreateChild(L"STATIC", SS_LEFT, custom, L"Program name:", 0), 8, 188, 90, 18);
    customName_ = CreateChild(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, custom, L"", kIdCustomName,
                              WS_EX_CLIENTEDGE);
    Place(customName_, 100, 186, 358, 21);
    Place(CreateChild(L"STATIC", SS_LEFT, custom, L"Executable:", 0), 8, 216, 90, 18);
    customFile_.Create(custom, kIdCustomFile);
    customFile_.Move(100, 214, 358, 21);
    // What the service knows of the executable, shown after a search.
    customFoundLabel_ = CreateChild(L"STATIC", SS_LEFT, custom, L"Found on server:", 0);
    Place(customFoundLabel_, 8, 246, 90, 18);
    customFound_ = CreateChild(L"EDIT", ES_AUTOHSCROLL | ES_READONLY, custom, L"", kIdCustomFound,
                               WS_EX_CLIENTEDGE);
    Place(customFound_, 100, 244, 358, 21);
    ShowCustomSearchResult(false);
    customSearch_.Create(custom, L"Search Online", kIdCustomSearch);
    Place(customSearch_.Handle(), 8, 274, 100, 25);
    customAdd_.Create(custom, L"Add program", kIdCustomAdd);
    Place(customAdd_.Handle(), 278, 274, 90, 25);
    customAdd_.onClick = [this] { AddCustomProgram(); };
    customDelete_.Create(custom, L"Delete", 0);
    Place(customDelete_.Handle(), 378, 274, 80, 25);
    customDelete_.onClick = [this] {
        const int row = customPrograms_.SelectedIndex();
        if (row >= 0) {
            ListView_DeleteItem(customPrograms_.Handle(), row);
        }
    };

    // Exclusions: executable names the scan leaves out.
    exclusions_ =
        AddSetting(L"lbProgramExclusions", L"LISTBOX",
                   WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_BORDER, exclusions);
    Place(exclusions_, 8, 8, 450, 230);
    exclusionName_ =
        CreateChild(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, exclusions, L"", 0, WS_EX_CLIENTEDGE);
    Place(exclusionName_, 8, 246, 260, 21);
    exclusionAdd_.Create(exclusions, L"Add", 0);
    Place(exclusionAdd_.Handle(), 278, 244, 90, 25);
    exclusionAdd_.onClick = [this] { AddExclusion(); };
    exclusionDelete_.Create(exclusions, L"Delete", 0);
    Place(exclusionDelete_.Handle(), 378, 244, 80, 25);
    exclusionDelete_.onClick = [this] { DeleteSelectedLines(exclusions_); };

    // Other settings.
    const HWND autoCheck = AddSetting(L"cbAutoCheck", L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP,
                                      other, L"Check for updates when the program starts");
    ::SendMessageW(autoCheck, BM_SETCHECK, BST_CHECKED, 0); // design default
    Place(autoCheck, 8, 10, 400, 20);
    Place(AddSetting(L"cbDisplayDrivers", L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, other,
                     L"Display Drivers"),
          8, 36, 400, 20);
    settingsNav_.Refresh();
}

void MainWindow::ShowSettingsPanel(int page) {
    settingsPanel_.CentreAndShow();
    settingsPages_.ShowPage(page);
}

void MainWindow::CloseSettingsPanel() {
    ::ShowWindow(settingsPanel_.Handle(), SW_HIDE);
    // Changed exclusions and switches take effect at once.
    ApplySwitches();
    check_->RescanWithLastReply();
}

void MainWindow::AddCustomProgram() {
    const std::wstring name = WindowText(customName_);
    std::vector<std::wstring> names;
    for (int row = 0; row < customPrograms_.Count(); ++row) {
        names.push_back(customPrograms_.GetLVLineAr(row).at(0));
    }
    if (const auto refusal = CustomProgramRefusal(names, name)) {
        services_.dialogs.ShowMessage(*refusal);
        return;
    }
    customPrograms_.AddRange({Trim(name), customFile_.Text()});
}

void MainWindow::ShowCustomSearchResult(bool visible) {
    for (const HWND control : {customFoundLabel_, customFound_}) {
        ::ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
    }
}

void MainWindow::AddExclusion() {
    // Added as typed: the list is the user's own.
    const std::wstring name = WindowText(exclusionName_);
    ::SendMessageW(exclusions_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

void MainWindow::DeleteSelectedLines(HWND listBox) {
    for (auto i = ::SendMessageW(listBox, LB_GETCOUNT, 0, 0) - 1; i >= 0; --i) {
        if (::SendMessageW(listBox, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) {
            ::SendMessageW(listBox, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
        }
    }
}

} // namespace torvik::app
