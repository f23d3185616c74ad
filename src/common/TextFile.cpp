#include "common/TextFile.h"

#include "common/Utf8.h"

namespace torvik {
namespace {

std::wstring DecodeUtf16(const std::string& bytes, size_t start, bool bigEndian) {
    std::wstring out;
    const auto unit = [&](size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    };
    for (size_t i = start; i + 1 < bytes.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        AppendCodePoint(out, cp);
    }
    return out;
}

} // namespace

std::wstring DecodeTextFile(const std::string& bytes, const UnmarkedTextDecoder& unmarked) {
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) {
        return Utf8ToString(bytes.substr(3));
    }
    if (bytes.rfind("\xFF\xFE", 0) == 0) {
        return DecodeUtf16(bytes, 2, false);
    }
    if (bytes.rfind("\xFE\xFF", 0) == 0) {
        return DecodeUtf16(bytes, 2, true);
    }
    return unmarked(bytes);
}

std::vector<std::wstring> SplitTextLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::wstring line;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
                ++i;
            }
        } else {
            line += c;
        }
    }
    if (!line.empty()) {
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string EncodeTextFile(const std::vector<std::wstring>& lines) {
    std::string out = "\xEF\xBB\xBF";
    for (const auto& line : lines) {
        out += StringToUtf8(line);
        out += "\r\n";
    }
    return out;
}

} // namespace torvik
