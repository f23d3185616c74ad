#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace torvik {

// Case changes touch only the ASCII letters A to Z, never the locale.
std::wstring LowerCaseAscii(std::wstring_view s);
std::wstring UpperCaseAscii(std::wstring_view s);
bool SameTextAscii(std::wstring_view a, std::wstring_view b);
// Whether needle occurs in haystack, both lower-cased as above.
bool ContainsTextAscii(std::wstring_view haystack, std::wstring_view needle);

bool StartsWith(std::wstring_view s, std::wstring_view prefix);
bool EndsWith(std::wstring_view s, std::wstring_view suffix);

// Bytes of 7-bit text (Base64, hex, percent-encoded text) as text.
std::wstring WidenAscii(const std::string& ascii);

// Trims characters up to and including the blank (control characters too).
std::wstring Trim(std::wstring_view s);

// Splits a text into lines at CR LF, CR or LF; a final line break adds no
// empty line.
std::vector<std::wstring> TextToLines(const std::wstring& text);
// Joins lines, each followed by CR LF.
std::wstring LinesToText(const std::vector<std::wstring>& lines);

} // namespace torvik
