#pragma once
#include <string>
#include <vector>

namespace torvik {

// Bracketed sections of a text of lines ("[name]" then the section's lines),
// the layout of every service reply and of the program's small files.

// The lines of one section, in order and untrimmed; blank lines are skipped.
// The name is bracketed unless it already begins with "[". A header matches
// when it equals the bracketed name exactly (both lower-cased with
// ignoreCase); reading stops at the first other header once lines have been
// collected. A missing section gives no lines.
std::vector<std::wstring> GetIniSectionInternal(const std::wstring& name,
                                                const std::vector<std::wstring>& lines,
                                                bool ignoreCase);
// The section's lines joined with CR LF and trimmed; empty when missing.
std::wstring IniSectionValue(const std::wstring& name, const std::vector<std::wstring>& lines);

// Replaces the lines after the first header equal to the bracketed name, up
// to the next line beginning with "[" (after trimming), by newLines. Without
// such a header, header and lines are appended.
void ReplaceIniSectionInternal(const std::wstring& name, std::vector<std::wstring>& lines,
                               const std::vector<std::wstring>& newLines);

} // namespace torvik
