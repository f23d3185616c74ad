#pragma once
#include <cstdint>
#include <string>

namespace torvik {

// Reads a version text of the form "1.2.3 build:4" into its four numbers.
// A text without ":" ("--", "debug build:0" aside) gives four zeros; a
// missing or unreadable number gives 0. Never throws.
void SplitVersion123B(const std::wstring& version, int32_t& major, int32_t& minor, int32_t& release,
                      int32_t& build);

// "00001.00002.00003.00004" -> "1.2.3 build:4": the first four "."-separated
// numbers, rewritten in plain decimal. Throws TorvikError when there are
// fewer than four pieces or one of them is not a decimal integer.
std::wstring VersionX_ToStr(const std::wstring& versionX);

// s with "0" put in front until it is n characters long.
std::wstring LPadZeros(const std::wstring& s, size_t n);

// The sortable version text: each number padded to 5 digits, joined by ".".
std::wstring MakeVersionX(int32_t major, int32_t minor, int32_t release, int32_t build);

} // namespace torvik
