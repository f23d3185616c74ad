#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Controls.h"
#include "app/ListViewEx.h"
#include "ui/ProgramFilesScan.h"

namespace torvik::app {

// The diagnostics page's content: the button "Scan c:\program files" and
// the list of the executables and libraries it found, name and folder. A
// failed scan goes to ReportError.
class ProgramFilesScanPage : public FoundFilesView {
public:
    // Creates the controls on page (a page of a page control).
    bool Create(HWND page, std::wstring programFilesFolder, ProgramFilesScan::ListFiles listFiles);
    void LayOut(int width, int height);

    ProgramFilesScan& Scan() { return *scan_; }
    HWND ScanButton() const { return button_.Handle(); }
    const ListViewEx& Files() const { return files_; }

    // FoundFilesView
    void SetScanEnabled(bool enabled) override { button_.Enable(enabled); }
    void ShowFoundFiles(const std::vector<FoundFileRow>& rows) override;
    void ShowScanError(const std::wstring& message) override;

private:
    Button button_;
    ListViewEx files_;
    std::vector<FoundFileRow> rows_;
    std::unique_ptr<ProgramFilesScan> scan_;
};

} // namespace torvik::app
