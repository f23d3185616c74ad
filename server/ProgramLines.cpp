#include "server/ProgramLines.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

#include "server/PackedVersion.h"

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

// The fields of a line, and how many there were: a line of more than twelve
// keeps the last twelve (the name's extra bars are joined back by the
// caller), so no line needs more room than this.
struct Fields {
    std::array<std::string_view, kFields> last;
    size_t count = 0;
};

Fields SplitFields(std::string_view line) {
    Fields fields;
    size_t start = 0;
    for (;;) {
        const size_t bar = line.find('|', start);
        const std::string_view field =
            line.substr(start, bar == std::string_view::npos ? bar : bar - start);
        // A ring of the last twelve: field i of n sits at i % 12.
        fields.last[fields.count % kFields] = field;
        ++fields.count;
        if (bar == std::string_view::npos) {
            return fields;
        }
        start = bar + 1;
    }
}

bool ReadLine(std::string_view line, const ProgramLineLimits& limits, ProgramLine& out) {
    const Fields fields = SplitFields(line);
    if (fields.count < kFields) {
        return false;
    }
    const size_t extra = fields.count - kFields;
    // Field i (0-based, of the twelve) of a line whose name took `extra` more.
    std::array<std::string_view, kFields> field;
    for (size_t i = 0; i < kFields; ++i) {
        field[i] = Trim(fields.last[(extra + i) % kFields]);
    }
    const std::string_view first = fields.last[extra % kFields];
    const std::string_view name =
        Trim(line.substr(0, static_cast<size_t>(first.data() - line.data()) + first.size()));
    for (size_t i = 1; i + 1 < kFields; ++i) {
        if (field[i].size() > limits.maxFieldBytes) {
            return false;
        }
    }
    if (name.empty() || name.size() > limits.maxFieldBytes || field[2].empty() ||
        field[11].size() > limits.maxDetailsBytes) {
        return false;
    }
    for (size_t i = 0; i < 4; ++i) {
        if (!ParseVersionNumber(field[5 + i], out.version[i])) {
            return false;
        }
    }
    out.programName = name;
    out.exePath = field[1];
    out.exeFilename = field[2];
    out.versionText = field[3];
    out.exeDate = field[9];
    if (!ParseWhole(field[10], out.exeSize) || out.exeSize < 0) {
        out.exeSize = 0;
    }
    out.details = field[11];
    return true;
}

// The next CR and LF of a text, each found once: looking for either with one
// scan per byte was slow, and looking for LF afresh on every line would be
// quadratic in a text whose lines end with CR alone.
class LineEnds {
public:
    explicit LineEnds(std::string_view text) : text_(text) {}

    // The first CR or LF from start on, or the text's size.
    size_t From(size_t start) { return std::min(Next(cr_, '\r', start), Next(lf_, '\n', start)); }

private:
    static constexpr size_t kUnsearched = std::string_view::npos;

    size_t Next(size_t& cached, char c, size_t start) {
        if (cached == kUnsearched || cached < start) {
            const void* at = std::memchr(text_.data() + start, c, text_.size() - start);
            cached = at == nullptr
                         ? text_.size()
                         : static_cast<size_t>(static_cast<const char*>(at) - text_.data());
        }
        return cached;
    }

    std::string_view text_;
    size_t cr_ = kUnsearched, lf_ = kUnsearched;
};

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

std::vector<ProgramLine> ReadProgramLines(std::string_view text, const ProgramLineLimits& limits) {
    std::vector<ProgramLine> lines;
    LineEnds ends(text);
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = ends.From(start);
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n') {
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
            lines.push_back(program);
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
    return VersionXOf(PackVersion(version));
}

std::string FormatVersionText(const std::array<uint32_t, 4>& version) {
    return std::to_string(version[0]) + "." + std::to_string(version[1]) + "." +
           std::to_string(version[2]) + " build:" + std::to_string(version[3]);
}

std::string KeyOf(std::string_view text) {
    std::string key;
    AppendKeyOf(key, text);
    return key;
}

void AppendKeyOf(std::string& key, std::string_view text) {
    const size_t start = key.size();
    key.append(text);
    for (size_t i = start; i < key.size(); ++i) {
        char& c = key[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
}

} // namespace torvik::server
