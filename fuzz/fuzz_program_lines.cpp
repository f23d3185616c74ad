// The program lines of a check come from any client. Any bytes must read
// without harm, every line read must keep its fields within the limits, and
// the names must come back when written out and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "server/ProgramLines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace torvik::server;
    const std::string text(reinterpret_cast<const char*>(data), size);
    ProgramLineLimits limits;
    limits.maxLines = 64;
    std::vector<ProgramLine> lines;
    try {
        lines = ReadProgramLines(text, limits);
    } catch (const TooManyProgramsError&) {
        return 0;
    }
    for (const auto& p : lines) {
        if (p.programName.empty() || p.exeFilename.empty() ||
            p.programName.size() > limits.maxFieldBytes ||
            p.details.size() > limits.maxDetailsBytes || p.exeSize < 0) {
            std::abort();
        }
        for (const uint32_t n : p.version) {
            if (n > 65535) {
                std::abort();
            }
        }
        const std::string again =
            std::string(p.programName) + "|" + std::string(p.exePath) + "|" +
            std::string(p.exeFilename) + "|" + std::string(p.versionText) + "|" + p.VersionX() +
            "|" + std::to_string(p.version[0]) + "|" + std::to_string(p.version[1]) + "|" +
            std::to_string(p.version[2]) + "|" + std::to_string(p.version[3]) + "|" +
            std::string(p.exeDate) + "|" + std::to_string(p.exeSize) + "|" + std::string(p.details);
        // A field that held a line break or a bar of its own is not one the
        // client writes; only clean lines must read back the same.
        if (again.find_first_of("\r\n") != std::string::npos ||
            p.exePath.find('|') != std::string::npos || p.exeDate.find('|') != std::string::npos ||
            p.versionText.find('|') != std::string::npos) {
            continue;
        }
        const auto back = ReadProgramLines(again, limits);
        if (back.size() != 1 || back[0].programName != p.programName ||
            back[0].exeFilename != p.exeFilename || back[0].version != p.version) {
            std::abort();
        }
    }
    return 0;
}
