#include "ui/IconSync.h"

#include "common/ScopeExit.h"

namespace torvik {

void IconSync::Run(const ProgramLists::RecordList& programs) {
    if (running_) {
        return;
    }
    const std::vector<IconUploadItem> wanted = ProgramsWantingIcons(programs);
    running_ = true;
    services_.showSyncing(true);
    const ScopeExit hide([this] {
        running_ = false;
        services_.showSyncing(false);
    });
    for (const IconUploadItem& program : wanted) {
        try {
            services_.upload(program);
        } catch (...) {
            // The service asks again after the next check.
        }
    }
}

} // namespace torvik
