#pragma once
#include <string>

#include "platform/FileSystem.h"
#include "platform/ShellLinks.h"

namespace torvik {

struct ResolvedLink {
    std::wstring target;
    std::wstring arguments;
};

// The target and arguments of a shortcut, with two corrections of the stored
// target: an advertised shortcut (stored target under "installer\{") is
// asked of Windows Installer; a target under a " (x86)" folder that does not
// exist is replaced by the same path without " (x86)" when that file
// exists (a 32-bit process sees 64-bit programs' paths under the 32-bit
// Program Files folder). Throws TorvikError when the shortcut cannot be read.
ResolvedLink ResolveLinkWithParams(const ShellLinks& links, const FileSystem& fs,
                                   const std::wstring& linkFile);
// The corrected target alone, and the argument text alone; throw likewise.
std::wstring ResolveLink(const ShellLinks& links, const FileSystem& fs,
                         const std::wstring& linkFile);
std::wstring ResolveLink_Params(const ShellLinks& links, const std::wstring& linkFile);

} // namespace torvik
