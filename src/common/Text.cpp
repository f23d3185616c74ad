#include "common/Text.h"

#include "common/Error.h"

namespace torvik {
namespace {
wchar_t LowerAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? c + (L'a' - L'A') : c;
}
wchar_t UpperAscii(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? c - (L'a' - L'A') : c;
}
} // namespace

std::wstring LowerCaseAscii(std::wstring_view s) {
    std::wstring out(s);
    for (auto& c : out) {
        c = LowerAscii(c);
    }
    return out;
}

std::wstring UpperCaseAscii(std::wstring_view s) {
    std::wstring out(s);
    for (auto& c : out) {
        c = UpperAscii(c);
    }
    return out;
}

bool SameTextAscii(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool ContainsTextAscii(std::wstring_view haystack, std::wstring_view needle) {
    return LowerCaseAscii(haystack).find(LowerCaseAscii(needle)) != std::wstring::npos;
}

bool StartsWith(std::wstring_view s, std::wstring_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::wstring_view s, std::wstring_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::wstring WidenAscii(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

std::wstring Trim(std::wstring_view s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && s[b] <= L' ') {
        ++b;
    }
    while (e > b && s[e - 1] <= L' ') {
        --e;
    }
    return std::wstring(s.substr(b, e - b));
}

std::vector<std::wstring> TextToLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
                ++i;
            }
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

std::wstring LinesToText(const std::vector<std::wstring>& lines) {
    std::wstring out;
    for (const auto& line : lines) {
        out += line;
        out += L"\r\n";
    }
    return out;
}

std::wstring JoinLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += L"\r\n";
        }
        text += lines[i];
    }
    return text;
}

std::wstring ReplaceAll(std::wstring text, std::wstring_view what, std::wstring_view with) {
    if (what.empty()) {
        return text;
    }
    for (size_t at = text.find(what); at != std::wstring::npos;
         at = text.find(what, at + with.size())) {
        text.replace(at, what.size(), with);
    }
    return text;
}

std::optional<int32_t> ParseDecimal(std::wstring_view text) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'-' || text[pos] == L'+')) {
        negative = text[pos] == L'-';
        ++pos;
    }
    if (pos == text.size()) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        if (text[pos] < L'0' || text[pos] > L'9') {
            return std::nullopt;
        }
        value = value * 10 + (text[pos] - L'0');
        if (value > int64_t{INT32_MAX} + 1) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

int32_t StrToInt(std::wstring_view text) {
    const auto value = ParseDecimal(text);
    if (!value) {
        throw TorvikError(L"'" + std::wstring(text) + L"' is not a valid integer value");
    }
    return *value;
}

std::wstring IntToStrN(int64_t value) {
    const bool negative = value < 0;
    // Through unsigned, so that the smallest value negates without overflow.
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::wstring digits;
    int inGroup = 0;
    do {
        if (inGroup == 3) {
            digits += L',';
            inGroup = 0;
        }
        digits += static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
        ++inGroup;
    } while (magnitude != 0);
    if (negative) {
        digits += L'-';
    }
    return {digits.rbegin(), digits.rend()};
}

} // namespace torvik
