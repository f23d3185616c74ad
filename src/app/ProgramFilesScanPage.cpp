#include "app/ProgramFilesScanPage.h"

#include <algorithm>

namespace torvik::app {
namespace {

enum FoundFileColumn { kNameColumn, kFolderColumn };

} // namespace

bool ProgramFilesScanPage::Create(HWND page, std::wstring programFilesFolder,
                                  ProgramFilesScan::ListFiles listFiles) {
    scan_ = std::make_unique<ProgramFilesScan>(std::move(programFilesFolder), std::move(listFiles),
                                               *this);
    if (!button_.Create(page, L"Scan c:\\program files", 0) ||
        !files_.Create(page, 0, {.ownerData = true})) {
        return false;
    }
    button_.onClick = [this] { scan_->Run(); };
    files_.SetDesignedColumns({L"File name:220:L:0", L"Folder:520:L:1"});
    // A Program Files folder holds thousands of files: the list asks for
    // the rows it shows.
    files_.cellText = [this](int row, int column) {
        if (row < 0 || static_cast<size_t>(row) >= rows_.size()) {
            return std::wstring();
        }
        const FoundFileRow& file = rows_[static_cast<size_t>(row)];
        return column == kNameColumn ? file.name : file.folder;
    };
    return true;
}

void ProgramFilesScanPage::LayOut(int width, int height) {
    ::MoveWindow(button_.Handle(), 6, 4, 160, 24, TRUE);
    ::MoveWindow(files_.Handle(), 6, 32, std::max(0, width - 12), std::max(0, height - 36), TRUE);
}

void ProgramFilesScanPage::ShowFoundFiles(const std::vector<FoundFileRow>& rows) {
    files_.ClearItems();
    rows_ = rows;
    files_.SetItemCount(static_cast<int>(rows_.size()));
}

void ProgramFilesScanPage::ShowScanError(const std::wstring& message) {
    ReportError(message);
}

} // namespace torvik::app
