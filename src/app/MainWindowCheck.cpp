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

} // namespace torvik::app
