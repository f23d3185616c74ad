#include "app/ProgramListMenu.h"

#include <commctrl.h>

#include "app/MainWindowIds.h"
#include "platform/win32/UniqueHandle.h"

namespace torvik::app {

ProgramListMenu::ProgramListMenu(const ProgramListView& list, ExcludeProgramServices services)
    : list_(list), services_(std::move(services)) {}

bool ProgramListMenu::OnNotify(const NMHDR& header, HWND owner) {
    if (header.hwndFrom != list_.Handle() || header.code != NM_RCLICK) {
        return false;
    }
    // The list selects the row under the mouse before it tells of the click.
    POINT at = reinterpret_cast<const NMITEMACTIVATE&>(header).ptAction;
    ::ClientToScreen(list_.Handle(), &at);
    Open(owner, at);
    return true;
}

bool ProgramListMenu::OnContextMenu(HWND from, LPARAM position, HWND owner) {
    // (-1, -1) is the keyboard's: there is no mouse position to open at.
    if (from != list_.Handle() || position != -1) {
        return false;
    }
    RECT row{};
    const int selected = list_.SelectedIndex();
    if (selected < 0 || !ListView_GetItemRect(list_.Handle(), selected, &row, LVIR_LABEL)) {
        return true;
    }
    POINT at{row.left, row.bottom};
    ::ClientToScreen(list_.Handle(), &at);
    Open(owner, at);
    return true;
}

bool ProgramListMenu::Open(HWND owner, POINT screen) {
    if (list_.SelectedRecord() == nullptr) {
        return false;
    }
    const win32::UniqueMenu menu(::CreatePopupMenu());
    ::AppendMenuW(menu.get(), MF_STRING, kMenuExcludeProgram, L"Exclude from updates check");
    ::AppendMenuW(menu.get(), MF_STRING, kMenuAddCommentUrl, L"Add comment/url");
    // Returns when the menu closes; the command comes after, posted.
    ::TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
    return true;
}

void ProgramListMenu::ExcludeSelected() {
    // The selection may have changed while the question was on its way.
    if (const TProgramRecord* record = list_.SelectedRecord()) {
        ExcludeProgram(record->ProgramName, services_);
    }
}

} // namespace torvik::app
