#pragma once
#include <functional>
#include <string>

#include "exchange/IconUpload.h"
#include "inventory/ProgramLists.h"

namespace torvik {

// What the icon synchronisation needs of the main window and the service.
struct IconSyncServices {
    // Sends one program's icon (the window's UploadIcon). May throw; may
    // process window messages while it waits, and so re-enter Run.
    std::function<void(const IconUploadItem&)> upload;
    // The green "Synchronizing Icons..." label in the top bar.
    std::function<void(bool visible)> showSyncing;
};

// After each check: sends the icons the service asked for, one program
// after another, while the label shows. A pass asked for while one runs
// (Start pressed again during an upload) does nothing; a failed upload is
// skipped and the next program tried.
class IconSync {
public:
    explicit IconSync(IconSyncServices services) : services_(std::move(services)) {}

    // Whether a pass runs (the label shows).
    bool Running() const { return running_; }
    // One pass over the programs, in list order; they are copied first.
    void Run(const ProgramLists::RecordList& programs);

private:
    IconSyncServices services_;
    bool running_ = false;
};

} // namespace torvik
