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
    // The icons the reply asked for go once the check's loops have ended.
    ::PostMessageW(Handle(), kWmSyncIcons, 0, 0);
}

void MainWindow::StartLateCheckTimer() {
    ::SetTimer(Handle(), kTimerLateCheck, kTimerLateCheckMs, nullptr);
}

void MainWindow::StopLateCheckTimer() {
    ::KillTimer(Handle(), kTimerLateCheck);
}

void MainWindow::ShowCounters(const CheckCounters& c) {
    const std::pair<CountersPanel::Counter, int64_t> counters[] = {
        {CountersPanel::kNewVersions, c.newVersions},
        {CountersPanel::kFromCommunity, c.answered},
        {CountersPanel::kUpToDate, c.upToDate},
        {CountersPanel::kMySubmissions, c.submissions},
        {CountersPanel::kTotalSubmissions, c.total},
    };
    for (const auto& [counter, count] : counters) {
        counters_.SetCounter(counter, CounterLabelOf(count));
    }
}

} // namespace torvik::app
