#include "server/CatalogueFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "server/ProgramLines.h"

namespace torvik::server {
namespace {

using nlohmann::json;

constexpr size_t kMaxTextBytes = 1000;

// Lines and columns (from 1, in bytes) of byte offsets in a text.
class TextLines {
public:
    explicit TextLines(const std::string& text) : text_(text) {}

    size_t Line(size_t offset) const {
        const auto end =
            text_.begin() + static_cast<std::ptrdiff_t>(std::min(offset, text_.size()));
        return 1 + static_cast<size_t>(std::count(text_.begin(), end, '\n'));
    }
    size_t Column(size_t offset) const {
        const size_t lineBreak = offset == 0 ? std::string::npos : text_.rfind('\n', offset - 1);
        return lineBreak == std::string::npos ? offset + 1 : offset - lineBreak;
    }

private:
    const std::string& text_;
};

// A character iterator that tells how far the JSON parser has read, so that
// a SAX event knows where in the text it happens.
class CountingIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    CountingIterator(const char* begin, const char* at, size_t* consumed)
        : begin_(begin), at_(at), consumed_(consumed) {}
    reference operator*() const { return *at_; }
    CountingIterator& operator++() {
        ++at_;
        *consumed_ = static_cast<size_t>(at_ - begin_);
        return *this;
    }
    CountingIterator operator++(int) {
        CountingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const CountingIterator& other) const { return at_ == other.at_; }

private:
    const char* begin_;
    const char* at_;
    size_t* consumed_;
};

// Records where every value starts, by path: "" for the whole document,
// "programs[2]" for an array element (its first character), and
// "programs[2].exe" for an object member (its key). A SAX event comes right
// after the parser has read the event's token, and at most one character
// more (the end of a number), so the last character read is on the token's
// line. Also remembers the first key that repeats within one object.
class ValuePositions : public nlohmann::json_sax<json> {
public:
    explicit ValuePositions(const size_t* consumed) : consumed_(consumed) {}

    std::optional<size_t> OffsetOf(const std::string& path) const {
        const auto it = offsets_.find(path);
        return it == offsets_.end() ? std::nullopt : std::optional<size_t>(it->second);
    }
    const std::optional<std::string>& RepeatedKey() const { return repeatedKey_; }

    bool null() override { return Value(); }
    bool boolean(bool) override { return Value(); }
    bool number_integer(number_integer_t) override { return Value(); }
    bool number_unsigned(number_unsigned_t) override { return Value(); }
    bool number_float(number_float_t, const string_t&) override { return Value(); }
    bool string(string_t&) override { return Value(); }
    bool binary(binary_t&) override { return Value(); }
    bool start_object(std::size_t) override { return Open(false); }
    bool start_array(std::size_t) override { return Open(true); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }
    bool key(string_t& name) override {
        Container& object = open_.back();
        memberPath_ = object.path.empty() ? name : object.path + "." + name;
        offsets_[memberPath_] = LastRead();
        if (!object.keys.insert(name).second && !repeatedKey_) {
            repeatedKey_ = memberPath_;
        }
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    struct Container {
        std::string path;
        bool isArray = false;
        size_t nextIndex = 0;
        std::set<std::string> keys;
    };

    size_t LastRead() const { return *consumed_ == 0 ? 0 : *consumed_ - 1; }
    std::string StartValue() {
        if (open_.empty()) {
            offsets_[""] = LastRead();
            return "";
        }
        Container& parent = open_.back();
        if (!parent.isArray) {
            return memberPath_;
        }
        std::string path = parent.path + "[" + std::to_string(parent.nextIndex++) + "]";
        offsets_[path] = LastRead();
        return path;
    }
    bool Value() {
        StartValue();
        return true;
    }
    bool Open(bool isArray) {
        std::string path = StartValue();
        open_.push_back(Container{std::move(path), isArray, 0, {}});
        return true;
    }
    bool Close() {
        open_.pop_back();
        return true;
    }

    const size_t* consumed_;
    std::map<std::string, size_t> offsets_;
    std::vector<Container> open_;
    std::string memberPath_;
    std::optional<std::string> repeatedKey_;
};

// A text as it may appear in a message: JSON-quoted, shortened.
std::string Quoted(const std::string& text) {
    constexpr size_t kShown = 60;
    const bool shortened = text.size() > kShown;
    return json(shortened ? text.substr(0, kShown) : text)
               .dump(-1, ' ', false, json::error_handler_t::replace) +
           (shortened ? "..." : "");
}

json ParseJson(const std::string& text) {
    try {
        return json::parse(text);
    } catch (const json::parse_error& e) {
        // e.byte counts the characters read, the offending one included.
        const size_t offset = e.byte == 0 ? 0 : e.byte - 1;
        const TextLines lines(text);
        const std::string what = e.what();
        const size_t reasonAt = what.find(": ");
        throw CatalogueFileError(
            "line " + std::to_string(lines.Line(offset)) + ", column " +
            std::to_string(lines.Column(offset)) + ": malformed JSON: " +
            (reasonAt == std::string::npos ? what : what.substr(reasonAt + 2)));
    }
}

// The checks of a parsed catalogue file against its schema (CatalogueFile.h).
class CatalogueChecker {
public:
    CatalogueChecker(const std::string& text, const ValuePositions& positions)
        : lines_(text), positions_(positions) {}

    std::vector<CatalogueEntry> Programs(const json& document) const {
        if (const auto& repeated = positions_.RepeatedKey()) {
            Refuse(*repeated, *repeated, "given twice");
        }
        if (!document.is_object()) {
            Refuse("", "", "the file must hold a JSON object with a \"programs\" array");
        }
        for (const auto& [key, value] : document.items()) {
            if (key != "programs") {
                Refuse(key, "", "unknown field " + Quoted(key));
            }
        }
        const auto programs = document.find("programs");
        if (programs == document.end()) {
            Refuse("", "", "\"programs\" is missing");
        }
        if (!programs->is_array()) {
            Refuse("programs", "programs", MustBe("an array", *programs));
        }
        std::vector<CatalogueEntry> entries;
        std::map<std::pair<std::string, std::string>, std::string> seen;
        for (size_t i = 0; i < programs->size(); ++i) {
            const std::string path = "programs[" + std::to_string(i) + "]";
            entries.push_back(Entry((*programs)[i], path));
            const auto [it, added] = seen.emplace(
                std::pair(KeyOf(entries.back().programName), KeyOf(entries.back().exeFilename)),
                path);
            if (!added) {
                Refuse(path, path, "the same name and exe as " + it->second);
            }
        }
        return entries;
    }

private:
    struct TextField {
        const char* key;
        std::string CatalogueEntry::*member;
        bool required;
    };
    static constexpr TextField kTextFields[] = {
        {"name", &CatalogueEntry::programName, true},
        {"exe", &CatalogueEntry::exeFilename, true},
        {"latest_version", &CatalogueEntry::latestVersion, true},
        {"product_url", &CatalogueEntry::productUrl, false},
        {"download_url", &CatalogueEntry::downloadUrl, false},
        {"comments", &CatalogueEntry::comments, false},
    };
    static constexpr const char* kIconField = "has_icon";

    CatalogueEntry Entry(const json& item, const std::string& path) const {
        if (!item.is_object()) {
            Refuse(path, path, MustBe("an object", item));
        }
        for (const auto& member : item.items()) {
            const std::string& key = member.key();
            const bool known =
                key == kIconField ||
                std::any_of(std::begin(kTextFields), std::end(kTextFields),
                            [&](const TextField& field) { return key == field.key; });
            if (!known) {
                Refuse(path + "." + key, path, "unknown field " + Quoted(key));
            }
        }
        CatalogueEntry entry;
        for (const auto& field : kTextFields) {
            const auto value = item.find(field.key);
            const std::string fieldPath = path + "." + field.key;
            if (value == item.end()) {
                if (field.required) {
                    Refuse(path, path, "\"" + std::string(field.key) + "\" is missing");
                }
                continue;
            }
            if (!value->is_string()) {
                Refuse(fieldPath, fieldPath, MustBe("a string", *value));
            }
            entry.*field.member = value->get<std::string>();
            CheckText(fieldPath, entry.*field.member, field.required);
        }
        if (const auto icon = item.find(kIconField); icon != item.end()) {
            if (!icon->is_boolean()) {
                Refuse(path + "." + kIconField, path + "." + kIconField,
                       MustBe("true or false", *icon));
            }
            entry.hasIcon = icon->get<bool>();
        }
        CheckName(path + ".name", entry.programName);
        CheckExe(path + ".exe", entry.exeFilename);
        if (!IsCatalogueVersion(entry.latestVersion)) {
            Refuse(path + ".latest_version", path + ".latest_version",
                   Quoted(entry.latestVersion) + " is not a version");
        }
        return entry;
    }

    void CheckText(const std::string& path, const std::string& text, bool required) const {
        if (text.size() > kMaxTextBytes) {
            Refuse(path, path, "longer than " + std::to_string(kMaxTextBytes) + " bytes");
        }
        if (required && text.empty()) {
            Refuse(path, path, "must not be empty");
        }
    }
    void CheckName(const std::string& path, const std::string& name) const {
        if (name.find_first_of("\r\n") != std::string::npos) {
            Refuse(path, path, Quoted(name) + " contains a line break");
        }
    }
    void CheckExe(const std::string& path, const std::string& exe) const {
        const size_t bad = exe.find_first_of("\\/|\r\n");
        if (bad != std::string::npos) {
            Refuse(path, path, Quoted(exe) + " contains " + Quoted(exe.substr(bad, 1)));
        }
        constexpr std::string_view kSuffix = ".exe";
        if (exe.size() < kSuffix.size() ||
            KeyOf(std::string_view(exe).substr(exe.size() - kSuffix.size())) != kSuffix) {
            Refuse(path, path, Quoted(exe) + " does not end in \".exe\"");
        }
    }

    static std::string MustBe(const std::string& expected, const json& value) {
        return "must be " + expected + ", not " + value.type_name();
    }
    // Throws the error for the value at linePath, shown as shownPath.
    [[noreturn]] void Refuse(const std::string& linePath, const std::string& shownPath,
                             const std::string& reason) const {
        const size_t offset = positions_.OffsetOf(linePath).value_or(0);
        throw CatalogueFileError("line " + std::to_string(lines_.Line(offset)) + ": " +
                                 (shownPath.empty() ? "" : shownPath + ": ") + reason);
    }

    TextLines lines_;
    const ValuePositions& positions_;
};

} // namespace

std::vector<CatalogueEntry> ParseCatalogueText(const std::string& text) {
    const json document = ParseJson(text);
    size_t consumed = 0;
    ValuePositions positions(&consumed);
    json::sax_parse(CountingIterator(text.data(), text.data(), &consumed),
                    CountingIterator(text.data(), text.data() + text.size(), &consumed),
                    &positions);
    return CatalogueChecker(text, positions).Programs(document);
}

std::vector<CatalogueEntry> ReadCatalogueFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (!in || !(bytes << in.rdbuf())) {
        throw CatalogueFileError("cannot read the catalogue file \"" + path + "\"");
    }
    return ParseCatalogueText(bytes.str());
}

bool IsCatalogueVersion(std::string_view text) {
    std::array<uint32_t, 4> version{};
    return ParseDottedVersion(std::string(text), version);
}

} // namespace torvik::server
