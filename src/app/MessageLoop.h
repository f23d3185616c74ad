#pragma once
#include <windows.h>

namespace torvik::app {

// Window-wide shortcuts: a key pressed with Ctrl is first offered to the
// top-level window as this message (wParam: the virtual key, lParam: 1 when
// Shift is down too); a window that answers non-zero has taken the key, and
// the focused control does not see it.
inline constexpr UINT kWmShortcutKey = WM_APP + 0x100;

// Dispatches one message the way the program's windows expect it: the
// keyboard moves between controls as in a dialog (Tab, Shift+Tab, the arrow
// keys within a group, Alt with an underlined letter), in whichever of the
// thread's windows has the focus. Enter and Esc reach the window as the
// commands IDOK and IDCANCEL.
void DispatchWindowMessage(MSG& msg);

} // namespace torvik::app
