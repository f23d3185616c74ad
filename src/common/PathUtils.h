#pragma once
#include <string>
#include <string_view>

namespace torvik {

// Appends a backslash unless s is empty or already ends in one.
std::wstring ForceTrailingBackslash(std::wstring_view s);
// Removes one final backslash if present.
std::wstring RemoveTrailingBackslash(std::wstring_view s);
// folder joined with name: ForceTrailingBackslash(folder) + name.
std::wstring MakeFn(std::wstring_view folder, std::wstring_view name);
std::wstring MakeFn(std::wstring_view folder, std::wstring_view name1, std::wstring_view name2);

// The part after the last backslash (or colon), and the part up to and
// including it.
std::wstring ExtractFileName(std::wstring_view path);
std::wstring ExtractFilePath(std::wstring_view path);
// The extension with its dot ("" when the name has none).
std::wstring ExtractFileExt(std::wstring_view path);

} // namespace torvik
