// The main window as the version check's view: messages, the please-wait
// text with its spinner, the Start button, the counters and the list.
#include "app/MainWindow.h"

#include <commctrl.h>

#include "inventory/ScanPipeline.h"

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

} // namespace

void MainWindow::ShowMessage(const std::wstring& text) {
    services_.dialogs.ShowMessage(text);
}

void MainWindow::ShowPrivacyWarning() {
    // The answer is acted on once the check flow that asked has ended: OK
    // then sends the published list.
    if (services_.dialogs.AskOkCancel(reinterpret_cast<WindowHandle>(Handle()), kPrivacyText,
                                      L"Privacy warning")) {
        ::PostMessageW(Handle(), kWmPrivacyAccepted, 0, 0);
    }
}

void MainWindow::ShowPleaseWait(const std::wstring& text) {
    pleaseWait_ = text;
    spinner_ = L"-";
    status_.SetText(pleaseWait_);
}

void MainWindow::HidePleaseWait() {
    pleaseWait_.clear();
    HideBusyLabel();
}

void MainWindow::TurnSpinner() {
    spinner_ = Rotate(spinner_);
    if (!pleaseWait_.empty()) {
        status_.SetText(pleaseWait_ + L" " + spinner_);
    }
}

void MainWindow::SetStartChecking() {
    start_.SetCaption(L" Checking...");
    start_.Enable(false);
}

void MainWindow::RestoreStart() {
    start_.SetCaption(orgCaption_);
    start_.Enable(true);
}

void MainWindow::StartLateCheckTimer() {
    ::SetTimer(Handle(), kTimerLateCheck, kTimerLateCheckMs, nullptr);
}

void MainWindow::StopLateCheckTimer() {
    ::KillTimer(Handle(), kTimerLateCheck);
}

void MainWindow::ShowCounters(const CheckCounters& c) {
    const std::pair<const wchar_t*, int64_t> counters[] = {
        {L"New versions", c.newVersions},   {L"From community", c.answered},
        {L"Up-to-date", c.upToDate},        {L"My submissions", c.submissions},
        {L"My Total submissions", c.total},
    };
    std::wstring text;
    for (const auto& [caption, count] : counters) {
        text += (text.empty() ? L"" : L"     ") + std::wstring(caption) + L": " +
                CounterLabelOf(count).text;
    }
    counters_.SetText(text);
}

void MainWindow::RepaintProgramList() {
    // The reply may have come for TempProgramList while a check builds it;
    // the published records are what the list shows.
    BeginUpdate();
    ClearItems();
    RefillProgramList();
    EndUpdate();
}

void MainWindow::BeginUpdate() {
    ::SendMessageW(lvMain_, WM_SETREDRAW, FALSE, 0);
}

void MainWindow::ClearItems() {
    ListView_DeleteAllItems(lvMain_);
    programs_.Clear();
}

void MainWindow::RefillProgramList() {
    programs_.SetRecheckText(check_->RecheckText);
    programs_.Refill(inventory_->Lists.ProgramList);
    for (size_t row = 0; row < programs_.Count(); ++row) {
        std::wstring text = programs_.CellText(row, ProgramListModel::kProgram);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.pszText = text.data();
        ListView_InsertItem(lvMain_, &item);
        for (size_t column = ProgramListModel::kVersion; column < ProgramListModel::kColumnCount;
             ++column) {
            text = programs_.CellText(row, column);
            ListView_SetItemText(lvMain_, static_cast<int>(row), static_cast<int>(column),
                                 text.data());
        }
    }
}

void MainWindow::EndUpdate() {
    ::SendMessageW(lvMain_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(lvMain_, nullptr, TRUE);
}

} // namespace torvik::app
