#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "inventory/AppFolders.h"
#include "inventory/CachedLibrary.h"
#include "inventory/ExecutableFacts.h"
#include "inventory/ProgramLists.h"
#include "inventory/UnitFS.h"
#include "inventory/WorkerThread.h"
#include "platform/FileSystem.h"
#include "platform/ShellLinks.h"

namespace torvik {

// The folder-listing run of a scan.
class TThreadScan {
public:
    void Execute(const FileSystem& fs, const FileTimeToDateTimeFn& fileTimeToDateTime);

    std::vector<TFileType> filesAr;
    std::wstring Paths;
    bool Recursive = false;
    std::wstring IncludeStr;
    std::wstring ExcludeStr;
    bool IsFinished = false;
};

// The folders whose shortcuts make the inventory (no trailing backslash;
// empty when the shell cannot resolve one).
struct ShortcutFolders {
    std::wstring StartMenu;
    std::wstring CommonStartMenu;
    std::wstring QuickLaunch;
    std::wstring Desktop;
};

// The shell folders of this computer's profile.
ShortcutFolders ShortcutFoldersOf(const AppFolders& folders);

// The platform services a scan reads.
struct ScanServices {
    const FileSystem& fs;
    const ShellLinks& links;
    const ExecutableFacts& facts;
    FileTimeToDateTimeFn fileTimeToDateTime;
    std::wstring windowsFolder; // no trailing backslash
};

// What a scan needs of the main window. Called on the main thread only.
class ScanHooks {
public:
    virtual ~ScanHooks() = default;
    // One turn of a wait loop, every 100 ms while a worker runs: keep the
    // please-wait panel laid out and turn its spinner (see Rotate), then
    // process pending window messages. A close or cancel handled here ends
    // the wait.
    virtual void WaitLoopTurn() = 0;
    virtual void PopupMsg(const std::wstring& text) = 0;
    // The lines of the exclusion list, read once per scan.
    virtual std::vector<std::wstring> ExclusionLines() = 0;
    // The view refilled when a scan publishes its programs.
    virtual ProgramListViewRefill& ProgramListView() = 0;
    // A worker thread failed and its step ended. A failed listing gives no
    // files; a failed resolution keeps the shortcuts it resolved; a failed
    // details step publishes nothing.
    virtual void ReportWorkerError(const std::wstring& message) = 0;
    // While a check builds the list (BuildingForCheck): the list is handed
    // to the check, which applies the last service reply to TempProgramList,
    // instead of being published.
    virtual void ApplyLastReplyToTempList() = 0;

    virtual void ShowBusyLabel(const std::wstring& /*text*/) {}
    virtual void HideBusyLabel() {}
    virtual void SaveSelection() {}
    virtual void RestoreSelection() {}
    virtual void Resort() {}
};

// What the version check needs of the scan.
class InventoryScan {
public:
    virtual ~InventoryScan() = default;
    virtual bool ScanLockHeld() const = 0;
    // Rebuilds the inventory; true when it ran to its end.
    virtual bool RescanPrograms() = 0;
};

// The spinner's next text: "-" "\" "|" "/" and round again.
std::wstring Rotate(const std::wstring& spinner);

// The scan: lists the shortcut folders, resolves and filters the shortcuts,
// merges the candidates into TempProgramList and reads each executable's
// details through the cached library, each step on a worker thread while
// the main thread waits. One scan at a time. Everything here runs on the
// main thread; the pipeline must outlive any wait it is in (the main window
// destroys it only after its message loop has ended).
class ScanPipeline : public InventoryScan {
public:
    ScanPipeline(ScanServices services, ProgramLists& lists, TCachedLibrary& cache,
                 ScanHooks& hooks);

    ShortcutFolders Folders;
    // How long a wait loop sleeps between turns when the worker is busy.
    std::chrono::milliseconds WaitInterval{100};

    bool ScanLockHeld() const override { return scanLock_; }

    // Rebuilds TempProgramList and publishes it (or hands it to the check).
    // Refused with "Scan already in progress..." while a scan runs. True
    // when the scan ran to its end (published or handed to the check).
    bool RescanPrograms() override;
    void ScanStartMenu();
    void ScanQuickLaunch();
    // The files of one listing run; empty when cancelled or closing.
    std::vector<TFileType> RunScanThread(const std::wstring& folder, bool recursive,
                                         const std::wstring& includeStr,
                                         const std::wstring& excludeStr);
    // Resolves files and appends the candidates to LinkCandidateList.
    void RunResolveLinks(const std::vector<TFileType>& files);
    // True when TempProgramList was completed and published or handed on.
    bool MergePrograms();
    // The close query: sets AppClosing, lets a running worker stop and waits
    // for it, then saves the cached library if it changed. Throws
    // TorvikError when the cache file cannot be written.
    void SaveCacheAtClose();

    // The exclusion lines copied by the last MergePrograms.
    const std::vector<std::wstring>& ExclusionList() const { return exclusionList_; }

private:
    enum class WorkerEnd { Completed, Stopped, Failed };
    // Runs body on a worker and waits for it in the wait loop; refuses while
    // another worker runs.
    WorkerEnd RunWorker(std::function<void()> body, bool folderWalk);

    ScanServices services_;
    ProgramLists& lists_;
    TCachedLibrary& cache_;
    ScanHooks& hooks_;
    bool scanLock_ = false;
    std::vector<std::wstring> exclusionList_;
    std::unique_ptr<WorkerThread> worker_;
};

} // namespace torvik
