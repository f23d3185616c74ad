// The program list's context menu: the selected program joins the user's
// exclusions, which the next scan applies.
#include <windows.h>

#include "app/MainWindow.h"

namespace torvik::app {

void MainWindow::CreateProgramListMenu() {
    programListMenu_ = std::make_unique<ProgramListMenu>(
        programList_,
        ExcludeProgramServices{services_.dialogs, reinterpret_cast<WindowHandle>(Handle()),
                               [this] { return ExclusionLines(); },
                               [this](const std::wstring& name) {
                                   ::SendMessageW(exclusions_, LB_ADDSTRING, 0,
                                                  reinterpret_cast<LPARAM>(name.c_str()));
                               },
                               [this] { ::InvalidateRect(programList_.Handle(), nullptr, TRUE); }});
}

} // namespace torvik::app
