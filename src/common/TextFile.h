#pragma once
#include <string>
#include <vector>

namespace torvik {

// The text of a file as the program reads text files: the byte-order mark
// (UTF-8, UTF-16 LE or BE) decides the encoding; a file without one is read
// as UTF-8 (malformed bytes become U+FFFD).
std::wstring DecodeTextFile(const std::string& bytes);
// Splits at CR LF, CR or LF; a final line break adds no empty line.
std::vector<std::wstring> SplitTextLines(const std::wstring& text);
// The lines as the program writes text files: UTF-8 with byte-order mark,
// every line followed by CR LF.
std::string EncodeTextFile(const std::vector<std::wstring>& lines);

} // namespace torvik
