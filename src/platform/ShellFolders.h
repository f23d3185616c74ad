#pragma once
#include <string>

namespace torvik {

// CSIDL values of the special folders the program uses.
enum class Csidl : int {
    Desktop = 0x00,
    StartMenu = 0x0B,
    AppData = 0x1A,
    LocalAppData = 0x1C,
    CommonStartMenu = 0x16,
    ProgramFiles = 0x26,
};

class ShellFolders {
public:
    virtual ~ShellFolders() = default;
    // The folder's path without a trailing backslash; empty when the shell
    // cannot resolve it.
    virtual std::wstring SpecialFolderPath(Csidl folder) const = 0;
};

} // namespace torvik
