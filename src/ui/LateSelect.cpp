#include "ui/LateSelect.h"

#include "common/Error.h"

namespace torvik {

void LateSelect::SelectProgram(const std::wstring& name, const std::wstring& exeFileName) {
    selected_ = {name, exeFileName};
}

void LateSelect::Tick() {
    timer_.Stop();
    try {
        ShowSelected();
    } catch (...) {
        reportError_(CurrentExceptionText());
    }
    timer_.Start(kDelay);
}

void LateSelect::ShowSelected() {
    if (selected_ == shown_ || selected_.ProgramName.empty()) {
        return;
    }
    // A copy: the details area may select another program meanwhile.
    const TProgramRecord2 program = selected_;
    const auto index = lists_.GetProgramIdxLive(program.ProgramName, program.TargetExeFilename);
    details_.ShowProgramDetails(program, index ? lists_.ProgramList[*index].get() : nullptr);
    // The page now shows this program's placeholders: the program shown
    // before is no longer on screen, and selecting it again must fetch it.
    shown_ = {};
    if (details_.LastProcessed() == program) {
        details_.ApplyProgramDetails();
        shown_ = program;
    }
}

} // namespace torvik
