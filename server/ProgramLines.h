#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace torvik::server {

// One program of a check's inventory, as the client sends it: twelve fields
// joined by "|" (texts in UTF-8, trimmed). The texts are views into the
// inventory they were read from (a check reads hundreds of lines; copying
// each field was a good part of its cost), so that text must outlive them.
struct ProgramLine {
    std::string_view programName; // as sent; a name that held "|" is joined back
    std::string_view exePath;     // below Program Files it starts with "\"
    std::string_view exeFilename;
    std::string_view versionText; // "1.2.3 build:4", or "--" without version information
    std::array<uint32_t, 4> version{};
    std::string_view exeDate; // "yyyy-mm-dd hh:nn:ss"
    int64_t exeSize = 0;
    std::string_view details; // line breaks as "<br>"; empty once the client sent them

    // Each number padded to five digits, joined by ".".
    std::string VersionX() const;
    bool HasVersion() const { return versionText != "--"; }
};

// What one check may hold. Past maxLines the request is refused; a line
// with a field beyond its limit is skipped.
struct ProgramLineLimits {
    size_t maxLines = 5000;
    size_t maxFieldBytes = 1024;
    size_t maxDetailsBytes = 16384;
};

class TooManyProgramsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the program lines of a decompressed inventory (UTF-8, lines ended
// by CR LF, LF or CR). A line with fewer than twelve fields, an empty name or
// file name, a version number that is not a whole number up to 65535, or an
// oversized field is skipped. A line with more than twelve fields comes from
// a program name holding "|" (paths and file names cannot): the leading
// fields are joined back into the name. Throws TooManyProgramsError past
// limits.maxLines programs. The lines view text.
std::vector<ProgramLine> ReadProgramLines(std::string_view text,
                                          const ProgramLineLimits& limits = {});

// "1.2.3.4" (one to four numbers) as the four numbers; false when it is not
// such a version.
bool ParseDottedVersion(const std::string& text, std::array<uint32_t, 4>& version);
// The four numbers as the client writes them: padded to five digits ("X")
// and as "1.2.3 build:4".
std::string FormatVersionX(const std::array<uint32_t, 4>& version);
std::string FormatVersionText(const std::array<uint32_t, 4>& version);

// Blanks and control characters gone from both ends.
std::string_view Trim(std::string_view s);

// ASCII letters A-Z lowered, every other byte kept: the key of a name.
std::string KeyOf(std::string_view text);
// The same, appended to key.
void AppendKeyOf(std::string& key, std::string_view text);

} // namespace torvik::server
