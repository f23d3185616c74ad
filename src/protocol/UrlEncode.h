#pragma once
#include <string>

namespace torvik {

// Percent-encodes the ASCII characters of a URL query: "%" becomes "%25", a
// blank "%20", and every character below 128 outside the safe set
// (& + - . 0-9 = ? @ A-Z _ a-z ~) "%" with two upper-case hex digits. The
// query delimiters survive; characters of 128 and above are left as they are.
std::wstring HttpEncode_level1(const std::wstring& text);
// HttpEncode_level1, then every character of 128 and above becomes one
// escape per UTF-8 byte. The result is pure ASCII.
std::wstring HttpEncodeEx(const std::wstring& text);
std::wstring EncodeURLEx(const std::wstring& text);

} // namespace torvik
