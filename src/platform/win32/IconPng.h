#pragma once
#include <windows.h>

#include <string>

namespace torvik::win32 {

// An icon as a PNG image at its own size, with its transparency (32-bit
// BGRA; an icon without an alpha channel takes it from its mask), encoded
// with the Windows Imaging Component. Throws TorvikError when the icon
// cannot be read or encoded. Initialises COM for the call when the thread
// has not.
std::string IconToPng(HICON icon);

} // namespace torvik::win32
