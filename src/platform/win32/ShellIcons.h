#pragma once
#include <windows.h>

#include <string>

#include "platform/win32/UniqueHandle.h"

namespace torvik::win32 {

// The shell's small icon for files named like key, asked by name only (the
// file is not opened, need not exist): a folder's for "folder", otherwise
// that of key as a file name, so an extension such as ".txt" gives its
// type's icon and a full path an executable's own. Empty when the shell
// has none. Initialise COM on the calling thread first.
UniqueIcon SmallShellIcon(const std::wstring& key);

// The first icon of an executable (or icon library), at the system's large
// icon size; empty when the file has none or cannot be read.
UniqueIcon FirstIconOfFile(const std::wstring& file);

} // namespace torvik::win32
