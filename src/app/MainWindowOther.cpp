// The diagnostics page "Other" (no tab leads to it): the executables and
// libraries below Program Files, listed by the scan's own folder walk.
#include <windows.h>

#include "app/MainWindow.h"

namespace torvik::app {

void MainWindow::CreateOtherPage() {
    HWND page = nullptr;
    for (int i = 0; i < pages_.PageCount(); ++i) {
        if (pages_.Caption(i) == L"Other") {
            page = pages_.Page(i);
        }
    }
    otherPage_.Create(page, services_.folders.ProgramFilesFolder(),
                      [this](const std::wstring& folder, bool recursive,
                             const std::wstring& includeStr, const std::wstring& excludeStr) {
                          return inventory_->Pipeline.RunScanThread(folder, recursive, includeStr,
                                                                    excludeStr);
                      });
}

} // namespace torvik::app
