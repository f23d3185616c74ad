#include "server/ProgramPageId.h"

#include "protocol/Encodings.h"
#include "server/ProgramIds.h"
#include "server/ProgramLines.h"

namespace torvik::server {
namespace {

// Two names of at most 1,024 bytes each (the longest a check accepts), a
// separator, two digits a byte.
constexpr size_t kMaxIdDigits = 2 * (2 * 1024 + 1);

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

} // namespace

std::string ProgramPageId(const std::string& programName, const std::string& exeFilename) {
    return Bin2Hex(ProgramKey(programName, exeFilename));
}

std::optional<std::pair<std::string, std::string>> ReadProgramPageId(const std::string& id) {
    if (id.empty() || id.size() % 2 != 0 || id.size() > kMaxIdDigits) {
        return std::nullopt;
    }
    for (const char c : id) {
        if (!IsHexDigit(c)) {
            return std::nullopt;
        }
    }
    const std::string key = Hex2Bin(id);
    const size_t separator = key.find('\n');
    if (separator == std::string::npos || key.find('\n', separator + 1) != std::string::npos ||
        KeyOf(key) != key) {
        return std::nullopt;
    }
    std::string name = key.substr(0, separator), exe = key.substr(separator + 1);
    if (name.empty() || exe.empty()) {
        return std::nullopt;
    }
    return std::pair(std::move(name), std::move(exe));
}

} // namespace torvik::server
