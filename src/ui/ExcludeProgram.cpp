#include "ui/ExcludeProgram.h"

#include "ui/UserLists.h"

namespace torvik {

bool ExcludeProgram(const std::wstring& programName, const ExcludeProgramServices& services) {
    if (!services.dialogs.AskYesNo(services.owner, L"Add this program to exclusions?", L"")) {
        return false;
    }
    if (const auto refusal = ExclusionRefusal(services.exclusions(), programName)) {
        services.dialogs.ShowMessage(*refusal);
        return false;
    }
    services.addExclusion(programName);
    services.refresh();
    return true;
}

} // namespace torvik
