#pragma once
#include <string>

#include "platform/FileSystem.h"
#include "platform/ShellLinks.h"

namespace torvik {

// Icons are cached per key: "folder"; the lower-cased full path of an
// executable, or of a shortcut whose target cannot be resolved (each has an
// icon of its own); otherwise the lower-cased extension with its dot, which
// all files of one type share.
inline constexpr wchar_t kFolderIconKey[] = L"folder";

// The key a caller that must not wait uses, from the name alone: the name
// itself when it holds no backslash (a key given directly), otherwise its
// lower-cased extension. Executables and shortcuts then miss on purpose:
// their keys are full paths, which only IconKeyOfFile works out.
std::wstring GuessedIconKey(const std::wstring& fileName);

// The key worked out from the files: a shortcut also counts when the name
// lacks ".lnk" but that file exists, and is keyed by its resolved target;
// a folder, or a shortcut to one, is "folder". Reads the file system and
// the shortcut, so it runs on the icon worker, never while painting.
std::wstring IconKeyOfFile(const std::wstring& fileName, const FileSystem& fs,
                           const ShellLinks& links);

} // namespace torvik
