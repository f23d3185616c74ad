#pragma once
#include <windows.h>

#include "app/ProgramListView.h"
#include "ui/ExcludeProgram.h"

namespace torvik::app {

// The program list's context menu for the selected program: "Exclude from
// updates check" and "Add comment/url".
class ProgramListMenu {
public:
    ProgramListMenu(const ProgramListView& list, ExcludeProgramServices services);

    // The list's right click (NM_RCLICK): the menu where the list was
    // clicked, when a row is selected. The chosen entry reaches owner as a
    // menu command (kMenuExcludeProgram). True when the click was the list's.
    bool OnNotify(const NMHDR& header, HWND owner);
    // WM_CONTEXTMENU from the keyboard (Shift+F10, the menu key), which the
    // list passes up to its parents: the menu below the selected row. The
    // mouse's comes as NM_RCLICK. True when the message was the list's.
    bool OnContextMenu(HWND from, LPARAM position, HWND owner);
    // Opens the menu at a point of the screen; false (no menu) when no row is
    // selected.
    bool Open(HWND owner, POINT screen);
    // The entry's command: asks, then adds the selected program's name to
    // the exclusions unless it is there already.
    void ExcludeSelected();

private:
    const ProgramListView& list_;
    ExcludeProgramServices services_;
};

} // namespace torvik::app
