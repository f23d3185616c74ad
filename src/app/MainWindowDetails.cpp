// The selected program's way to the details page: the list's selection
// names the program, the selection timer hands it to the details page.
#include "app/MainWindow.h"

namespace torvik::app {

void MainWindow::CreateLateSelect() {
    lateSelectTimer_.Attach(Handle());
    // The service's notes come later; the record's own details show at once.
    detailsSeam_ = std::make_unique<ImmediateDetails>(
        [this](const TProgramRecord* record) { ShowSelectedDetails(record); });
    lateSelect_ = std::make_unique<LateSelect>(lateSelectTimer_, inventory_->Lists, *detailsSeam_,
                                               [](const std::wstring& text) { ReportError(text); });
    programList_.onProgramSelected = [this](const TProgramRecord& record) {
        lateSelect_->SelectProgram(record.ProgramName, record.TargetExeFilename);
    };
}

void MainWindow::ShowSelectedDetails(const TProgramRecord* record) {
    detailsPage_.SetProgramName(record != nullptr ? record->ProgramName : L"");
    if (record != nullptr) {
        detailsPage_.SetRecord(record->TargetExeFilename, record->TargetExePath,
                               record->TargetExeVersion);
    } else {
        detailsPage_.SetRecord(L"", L"", L"");
    }
}

} // namespace torvik::app
