#pragma once
#include <optional>
#include <string>
#include <utility>

namespace torvik::server {

// The id of a program on its page ("program.aspx?id="): the upper-case
// hexadecimal digits of the UTF-8 bytes of its key (lower-cased program
// name, LF, lower-cased executable file name). Stable for as long as the
// program keeps its names in any letter case, safe in a URL as it is, and
// read back without a lookup, so that programs the catalogue lacks have
// one too.
std::string ProgramPageId(const std::string& programName, const std::string& exeFilename);

// The program key's two parts (lower case) of a page id; nothing for a text
// that no program's id can be (not hexadecimal, not one key, too long).
std::optional<std::pair<std::string, std::string>> ReadProgramPageId(const std::string& id);

} // namespace torvik::server
