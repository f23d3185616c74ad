#pragma once
#include <functional>
#include <string>
#include <vector>

namespace torvik {

// Decodes the bytes of a text file that has no byte-order mark.
using UnmarkedTextDecoder = std::function<std::wstring(const std::string&)>;

// The text of a file as the program reads text files: the byte-order mark
// (UTF-8, UTF-16 LE or BE) decides the encoding; a file without one goes to
// unmarked (the system's ANSI code page, for the program's own files).
// Malformed UTF-8 or UTF-16 becomes U+FFFD.
std::wstring DecodeTextFile(const std::string& bytes, const UnmarkedTextDecoder& unmarked);
// Splits at CR LF, CR or LF; a final line break adds no empty line.
std::vector<std::wstring> SplitTextLines(const std::wstring& text);
// The lines as the program writes text files: UTF-8 with byte-order mark,
// every line followed by CR LF.
std::string EncodeTextFile(const std::vector<std::wstring>& lines);

} // namespace torvik
