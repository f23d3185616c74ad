#include "inventory/ScanPipeline.h"

#include "common/PathUtils.h"
#include "common/ProcessFlags.h"
#include "common/ScopeExit.h"
#include "inventory/ThreadResolveLinks.h"
#include "inventory/ThreadScanExes.h"

namespace torvik {
namespace {

bool StopRequested() {
    return CancelRequested || AppClosing;
}

} // namespace

void TThreadScan::Execute(const FileSystem& fs, const FileTimeToDateTimeFn& fileTimeToDateTime) {
    filesAr = ScanDirectory(fs, fileTimeToDateTime, Paths, Recursive, IncludeStr, ExcludeStr);
    IsFinished = true;
}

ShortcutFolders ShortcutFoldersOf(const AppFolders& folders) {
    return {folders.StartMenuFolder(), folders.CommonStartMenuFolder(), folders.QuickLaunchFolder(),
            folders.DesktopFolder()};
}

std::wstring Rotate(const std::wstring& spinner) {
    if (spinner == L"-") {
        return L"\\";
    }
    if (spinner == L"\\") {
        return L"|";
    }
    if (spinner == L"|") {
        return L"/";
    }
    return L"-";
}

ScanPipeline::ScanPipeline(ScanServices services, ProgramLists& lists, TCachedLibrary& cache,
                           ScanHooks& hooks)
    : services_(std::move(services)), lists_(lists), cache_(cache), hooks_(hooks) {}

ScanPipeline::WorkerEnd ScanPipeline::RunWorker(std::function<void()> body, bool folderWalk) {
    // A window message handled in a wait loop may ask for another step
    // (the diagnostics scan): one worker at a time.
    if (worker_) {
        hooks_.PopupMsg(L"Scan already in progress...");
        return WorkerEnd::Stopped;
    }
    worker_ = std::make_unique<WorkerThread>(std::move(body));
    // The worker reads and writes the caller's locals: it must have ended
    // before this frame is left, by any way.
    const ScopeExit join([this] {
        worker_->Join();
        worker_.reset();
    });
    // The worker ends the wait as soon as it is done; otherwise the loop
    // turns every WaitInterval.
    while (!worker_->WaitEnded(WaitInterval) && !StopRequested()) {
        hooks_.WaitLoopTurn();
        if (folderWalk && AppClosing) {
            ScanStopFlag = true;
        }
    }
    if (folderWalk && AppClosing) {
        ScanStopFlag = true;
    }
    worker_->Join();
    if (worker_->Error()) {
        hooks_.ReportWorkerError(*worker_->Error());
        return WorkerEnd::Failed;
    }
    return StopRequested() ? WorkerEnd::Stopped : WorkerEnd::Completed;
}

std::vector<TFileType> ScanPipeline::RunScanThread(const std::wstring& folder, bool recursive,
                                                   const std::wstring& includeStr,
                                                   const std::wstring& excludeStr) {
    if (StopRequested()) {
        return {};
    }
    TThreadScan scan;
    scan.Paths = folder;
    scan.Recursive = recursive;
    scan.IncludeStr = includeStr;
    scan.ExcludeStr = excludeStr;
    const WorkerEnd end =
        RunWorker([&] { scan.Execute(services_.fs, services_.fileTimeToDateTime); }, true);
    if (end != WorkerEnd::Completed || !scan.IsFinished) {
        return {};
    }
    return std::move(scan.filesAr);
}

void ScanPipeline::RunResolveLinks(const std::vector<TFileType>& files) {
    if (StopRequested()) {
        return;
    }
    const ResolveLinksContext context{services_.links, services_.fs, services_.facts,
                                      services_.windowsFolder};
    TThreadResolveLinks resolve(files, context);
    const WorkerEnd end = RunWorker([&] { resolve.Execute(); }, false);
    // A failure after some shortcuts still hands over those it resolved.
    if (end == WorkerEnd::Stopped || !resolve._finished) {
        return;
    }
    for (auto& record : resolve.LinkResultList) {
        lists_.LinkCandidateList.push_back(std::move(record));
    }
}

void ScanPipeline::ScanStartMenu() {
    for (const auto* folder : {&Folders.StartMenu, &Folders.CommonStartMenu}) {
        const auto files = RunScanThread(ForceTrailingBackslash(*folder), true, L"*.lnk", L"");
        RunResolveLinks(files);
    }
}

void ScanPipeline::ScanQuickLaunch() {
    RunResolveLinks(
        RunScanThread(ForceTrailingBackslash(Folders.QuickLaunch), true, L"*.lnk", L""));
    // Only the shortcuts lying on the desktop itself.
    RunResolveLinks(RunScanThread(ForceTrailingBackslash(Folders.Desktop), false, L"*.lnk", L""));
}

bool ScanPipeline::MergePrograms() {
    lists_.TempProgramList.clear();
    for (const auto& candidate : lists_.LinkCandidateList) {
        lists_.AddProgramTemp(candidate.LinkName, candidate.TargetExePath, candidate.TargetExeFile);
    }
    exclusionList_ = hooks_.ExclusionLines();
    if (StopRequested()) {
        return false;
    }
    TThreadScanEXEs exes(lists_.TempProgramList, cache_, services_.fs, services_.facts,
                         exclusionList_);
    if (RunWorker([&] { exes.Execute(); }, false) != WorkerEnd::Completed || !exes._finished) {
        return false;
    }
    if (BuildingForCheck) {
        hooks_.ApplyLastReplyToTempList();
    } else {
        lists_.PublishPrograms(hooks_.ProgramListView());
    }
    return true;
}

bool ScanPipeline::RescanPrograms() {
    if (scanLock_) {
        hooks_.PopupMsg(L"Scan already in progress...");
        return false;
    }
    hooks_.SaveSelection();
    scanLock_ = true;
    const ScopeExit release([this] {
        hooks_.HideBusyLabel();
        hooks_.Resort();
        hooks_.RestoreSelection();
        scanLock_ = false;
    });
    hooks_.ShowBusyLabel(L"Building programs list...");
    ScanStartMenu();
    ScanQuickLaunch();
    hooks_.ShowBusyLabel(L"Building programs list......");
    return MergePrograms();
}

void ScanPipeline::SaveCacheAtClose() {
    AppClosing = true;
    ScanStopFlag = true;
    // Called from a window message handled inside a wait loop: the worker of
    // that loop may still be reading executables into the cache.
    if (worker_) {
        worker_->Join();
    }
    if (cache_.CacheModified) {
        cache_.SaveCachedLibrary();
    }
}

} // namespace torvik
