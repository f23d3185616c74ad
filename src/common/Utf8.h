#pragma once
#include <string>

namespace torvik {

// The only conversions between in-memory text (UTF-16 on Windows, UTF-32 on
// the native build) and UTF-8 bytes. They work on code points, so the size
// of wchar_t does not matter. Unpaired surrogates and malformed UTF-8 become
// U+FFFD; nothing throws.
std::string StringToUtf8(const std::wstring& text);
std::wstring Utf8ToString(const std::string& bytes);

// Appends one code point to a wide string in the platform's encoding.
void AppendCodePoint(std::wstring& out, char32_t cp);

} // namespace torvik
