#include "server/ProgramLines.h"

#include <charconv>
#include <string_view>

namespace torvik::server {
namespace {

constexpr size_t kFields = 12;
constexpr uint32_t kMaxVersionNumber = 65535;

template <typename T> bool ParseWhole(std::string_view s, T& value) {
    if (s.empty()) {
        return false;
    }
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    return error == std::errc() && end == s.data() + s.size();
}

bool ParseVersionNumber(std::string_view s, uint32_t& value) {
    return ParseWhole(s, value) && value <= kMaxVersionNumber;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    fields.reserve(kFields);
    size_t start = 0;
    for (size_t bar = line.find('|'); bar != std::string_view::npos; bar = line.find('|', start)) {
        fields.push_back(line.substr(start, bar - start));
        start = bar + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

// Field i (0-based, of the twelve) of a line whose name took `extra` more
// fields.
bool ReadLine(std::string_view line, const ProgramLineLimits& limits, ProgramLine& out) {
    const auto fields = SplitFields(line);
    if (fields.size() < kFields) {
        return false;
    }
    const size_t extra = fields.size() - kFields;
    std::string_view name = line.substr(0, static_cast<size_t>(fields[extra].data() - line.data()) +
                                               fields[extra].size());
    const auto field = [&](size_t i) { return Trim(fields[extra + i]); };
    name = Trim(name);
    for (size_t i = 1; i + 1 < kFields; ++i) {
        if (field(i).size() > limits.maxFieldBytes) {
            return false;
        }
    }
    if (name.empty() || name.size() > limits.maxFieldBytes || field(2).empty() ||
        field(11).size() > limits.maxDetailsBytes) {
        return false;
    }
    for (size_t i = 0; i < 4; ++i) {
        if (!ParseVersionNumber(field(5 + i), out.version[i])) {
            return false;
        }
    }
    out.programName = name;
    out.exePath = field(1);
    out.exeFilename = field(2);
    out.versionText = field(3);
    out.exeDate = field(9);
    if (!ParseWhole(field(10), out.exeSize) || out.exeSize < 0) {
        out.exeSize = 0;
    }
    out.details = field(11);
    return true;
}

// The first CR or LF from start on, or npos. (find_first_of("\r\n") looks
// every character up in that set, a library call per byte.)
size_t LineEnd(std::string_view text, size_t start) {
    for (size_t i = start; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string Pad5(uint32_t n) {
    std::string s = std::to_string(n);
    return s.size() < 5 ? std::string(5 - s.size(), '0') + s : s;
}

} // namespace

std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') {
        s.remove_suffix(1);
    }
    return s;
}

std::string ProgramLine::VersionX() const {
    return FormatVersionX(version);
}

std::vector<ProgramLine> ReadProgramLines(const std::string& text,
                                          const ProgramLineLimits& limits) {
    std::vector<ProgramLine> lines;
    const std::string_view all(text);
    size_t start = 0;
    while (start < all.size()) {
        size_t end = LineEnd(all, start);
        if (end == std::string_view::npos) {
            end = all.size();
        }
        const std::string_view line = all.substr(start, end - start);
        start = end + 1;
        if (end < all.size() && all[end] == '\r' && start < all.size() && all[start] == '\n') {
            ++start;
        }
        if (Trim(line).empty()) {
            continue;
        }
        ProgramLine program;
        if (ReadLine(line, limits, program)) {
            if (lines.size() == limits.maxLines) {
                throw TooManyProgramsError("more than " + std::to_string(limits.maxLines) +
                                           " programs in one check");
            }
            lines.push_back(std::move(program));
        }
    }
    return lines;
}

bool ParseDottedVersion(const std::string& text, std::array<uint32_t, 4>& version) {
    version = {};
    size_t start = 0, index = 0;
    for (;;) {
        const size_t dot = text.find('.', start);
        const std::string_view piece = std::string_view(text).substr(
            start, dot == std::string::npos ? std::string::npos : dot - start);
        if (index == version.size() || !ParseVersionNumber(piece, version[index])) {
            return false;
        }
        ++index;
        if (dot == std::string::npos) {
            return true;
        }
        start = dot + 1;
    }
}

std::string FormatVersionX(const std::array<uint32_t, 4>& version) {
    return Pad5(version[0]) + "." + Pad5(version[1]) + "." + Pad5(version[2]) + "." +
           Pad5(version[3]);
}

std::string FormatVersionText(const std::array<uint32_t, 4>& version) {
    return std::to_string(version[0]) + "." + std::to_string(version[1]) + "." +
           std::to_string(version[2]) + " build:" + std::to_string(version[3]);
}

std::string KeyOf(std::string_view text) {
    std::string key(text);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return key;
}

} // namespace torvik::server
