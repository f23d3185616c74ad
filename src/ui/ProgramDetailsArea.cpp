#include "ui/ProgramDetailsArea.h"

namespace torvik {

void ProgramDetailsArea::ShowProgramDetails(const TProgramRecord2& program,
                                            const TProgramRecord* record) {
    // Asked again while its fetch runs or after it: nothing to do.
    if (active_ == program) {
        return;
    }
    active_ = program;
    view_.SetProgramName(program.ProgramName);
    view_.ShowDetailsPage();
    if (record != nullptr) {
        view_.SetRecord(record->TargetExeFilename, record->TargetExePath, record->TargetExeVersion);
    } else {
        view_.SetRecord(L"", L"", L"");
    }
    view_.ResetContribution();
    view_.ShowDetailsLoading(true);
    view_.ShowDetails(DownloadingDetailsTexts());
    activeServiceUrl_ = address_.serviceUrl();
    thread_.Request({activeServiceUrl_, address_.build, address_.header(), program});
}

void ProgramDetailsArea::ApplyProgramDetails() {
    // The program and its reply come from one completed fetch.
    const ProgramDetailsResult result = thread_.LastProcessed();
    ProgramDetailsTexts texts =
        ReadProgramDetails(result.reply, address_.programPageBase(activeServiceUrl_));
    if (!result.error.empty()) {
        texts.comments = DetailsFailedText(result.error);
    }
    view_.ShowDetails(texts);
    view_.ShowDetailsLoading(false);
}

} // namespace torvik
