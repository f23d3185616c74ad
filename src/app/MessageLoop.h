#pragma once
#include <windows.h>

namespace torvik::app {

// Dispatches one message the way the program's windows expect it: the
// keyboard moves between controls as in a dialog (Tab, Shift+Tab, the arrow
// keys within a group, Alt with an underlined letter), in whichever of the
// thread's windows has the focus. Enter and Esc reach the window as the
// commands IDOK and IDCANCEL.
void DispatchWindowMessage(MSG& msg);

} // namespace torvik::app
