#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "inventory/UnitFS.h"

namespace torvik {

// One file found, as the diagnostics page lists it.
struct FoundFileRow {
    std::wstring name;
    std::wstring folder; // ending in a backslash, as the scanner gives it

    bool operator==(const FoundFileRow&) const = default;
};

// The diagnostics page as its scan sees it.
class FoundFilesView {
public:
    virtual ~FoundFilesView() = default;
    virtual void SetScanEnabled(bool enabled) = 0;
    // Replaces the rows of the list.
    virtual void ShowFoundFiles(const std::vector<FoundFileRow>& rows) = 0;
    virtual void ShowScanError(const std::wstring& message) = 0;
};

// The diagnostics scan: every executable and library below the Program Files
// folder, listed by the scan pipeline's folder walk.
class ProgramFilesScan {
public:
    // The pipeline's RunScanThread: it returns when its worker has ended,
    // handling window messages meanwhile.
    using ListFiles = std::function<std::vector<TFileType>(
        const std::wstring& folder, bool recursive, const std::wstring& includeStr,
        const std::wstring& excludeStr)>;

    ProgramFilesScan(std::wstring programFilesFolder, ListFiles listFiles, FoundFilesView& view);

    // Lists the files and shows them, or shows what ended the listing (the
    // list then empty). The scan's button is disabled until it returns: the
    // window handles clicks while the worker runs.
    void Run();
    // The pipeline's report of a failed worker; it belongs to this scan only
    // while Run waits.
    void WorkerFailed(const std::wstring& message);
    bool Running() const { return running_; }

private:
    std::wstring programFilesFolder_;
    ListFiles listFiles_;
    FoundFilesView& view_;
    bool running_ = false;
    std::optional<std::wstring> workerError_;
};

} // namespace torvik
