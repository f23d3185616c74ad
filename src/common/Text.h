#pragma once
#include <cstdint>
#include <optional>
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
// Joins lines with CR LF between them (none after the last).
std::wstring JoinLines(const std::vector<std::wstring>& lines);
// Replaces every occurrence of what (letter case significant), searching on
// after each replacement, so a replacement is never replaced again.
std::wstring ReplaceAll(std::wstring text, std::wstring_view what, std::wstring_view with);

// An optionally signed decimal integer that fits 32 bits; nothing else
// (no blanks, no hexadecimal).
std::optional<int32_t> ParseDecimal(std::wstring_view text);
// The same, raising TorvikError "'text' is not a valid integer value".
int32_t StrToInt(std::wstring_view text);
// A count with "," between groups of three digits: 1,234,567.
std::wstring IntToStrN(int64_t value);

} // namespace torvik
