// The main window as the version check's view: messages, the please-wait
// text with its spinner, the Start button, the counters and the list.
#include "app/MainWindow.h"

#include <commctrl.h>

#include "inventory/ScanPipeline.h"
#include "ui/UserLists.h"

namespace torvik::app {

void MainWindow::ShowMessage(const std::wstring& text) {
    services_.dialogs.ShowMessage(text);
}

void MainWindow::ShowPrivacyWarning() {
    // The check flow ends here; the panel's OK sends the published list.
    ::SendMessageW(privacyDontShow_, BM_SETCHECK, BST_UNCHECKED, 0);
    privacyPanel_.CentreAndShow();
}

void MainWindow::ShowPleaseWait(const std::wstring& text) {
    pleaseWaitPanel_.SetCaption(L"");
    pleaseWaitText_.SetText(PleaseWaitText(text));
    spinnerText_.SetText(L"-");
    pleaseWaitPanel_.CentreAndShow();
    ::UpdateWindow(pleaseWaitPanel_.Handle());
}

void MainWindow::HidePleaseWait() {
    ::ShowWindow(pleaseWaitPanel_.Handle(), SW_HIDE);
    HideBusyLabel();
}

void MainWindow::TurnSpinner() {
    spinnerText_.SetText(Rotate(spinnerText_.Text()));
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
