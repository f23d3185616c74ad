#include "server/ReplyText.h"

#include "server/ProgramLines.h"

namespace torvik::server {
namespace {

// Each marker (lower case) and the offset of the character that completes it.
struct Marker {
    std::string_view text;
    size_t completing;
};
constexpr Marker kMarkers[] = {
    {"error:", 5},
    {"warning:", 7},
    {"error</b>:", 9},
    {"warning</b>:", 11},
    {"server error", 6},
    {"http error", 4},
    {"prevent the details of the application error", 38},
};

// The first marker in text, or npos.
size_t FindMarker(const std::string& lower, const Marker*& found) {
    size_t first = std::string::npos;
    for (const Marker& m : kMarkers) {
        const size_t at = lower.find(m.text);
        if (at < first) {
            first = at;
            found = &m;
        }
    }
    return first;
}

} // namespace

void ReplyText::Section(std::string_view name) {
    text_ += '[';
    text_ += name;
    text_ += "]\r\n";
}

void ReplyText::Line(std::string_view line) {
    text_ += line;
    text_ += "\r\n";
}

void ReplyText::Record(std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first) {
            text_ += '|';
        }
        text_ += field;
        first = false;
    }
    text_ += "\r\n";
}

void ReplyText::ValueSection(std::string_view name, std::string_view value) {
    Section(name);
    if (!value.empty()) {
        Line(ReplyLineText(value));
    }
}

bool HoldsErrorMarker(std::string_view text) {
    const Marker* found = nullptr;
    return FindMarker(KeyOf(std::string(text)), found) != std::string::npos;
}

std::string ReplyField(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '|') {
            c = '/';
        } else if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    const Marker* marker = nullptr;
    for (size_t at = FindMarker(KeyOf(out), marker); at != std::string::npos;
         at = FindMarker(KeyOf(out), marker)) {
        const size_t pos = at + marker->completing;
        if (out[pos] == ':') {
            out.replace(pos, 1, " -");
        } else {
            out[pos] = '-';
        }
    }
    return out;
}

std::string ReplyLineText(std::string_view text) {
    std::string line = ReplyField(text);
    if (!line.empty() && line.front() == '[') {
        line.front() = '(';
    }
    return line;
}

std::string LineBreaksAs(std::string_view text, std::string_view mark) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += mark;
            i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string ValueReply(std::string_view section, std::string_view value) {
    ReplyText reply;
    reply.ValueSection(section, value);
    return std::move(reply).Take();
}

std::string ErrorReply(std::string_view message) {
    return "error: " + std::string(message) + "\r\n";
}

} // namespace torvik::server
