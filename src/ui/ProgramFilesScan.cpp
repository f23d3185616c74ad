#include "ui/ProgramFilesScan.h"

#include "common/Error.h"
#include "common/ScopeExit.h"

namespace torvik {

ProgramFilesScan::ProgramFilesScan(std::wstring programFilesFolder, ListFiles listFiles,
                                   FoundFilesView& view)
    : programFilesFolder_(std::move(programFilesFolder)), listFiles_(std::move(listFiles)),
      view_(view) {}

void ProgramFilesScan::Run() {
    if (running_) {
        return;
    }
    running_ = true;
    workerError_.reset();
    view_.SetScanEnabled(false);
    const ScopeExit done([this] {
        running_ = false;
        view_.SetScanEnabled(true);
    });
    std::vector<TFileType> files;
    try {
        files = listFiles_(programFilesFolder_, true, L"*.exe; *.dll", L"");
    } catch (...) {
        workerError_ = CurrentExceptionText();
    }
    if (workerError_) {
        view_.ShowFoundFiles({});
        view_.ShowScanError(*workerError_);
        return;
    }
    std::vector<FoundFileRow> rows;
    rows.reserve(files.size());
    for (auto& file : files) {
        rows.push_back({std::move(file.FileName), std::move(file.Path)});
    }
    view_.ShowFoundFiles(rows);
}

void ProgramFilesScan::WorkerFailed(const std::wstring& message) {
    if (running_) {
        workerError_ = message;
    }
}

} // namespace torvik
