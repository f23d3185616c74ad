#include "protocol/UrlEncode.h"

#include "common/Utf8.h"

namespace torvik {
namespace {
constexpr wchar_t kHexDigits[] = L"0123456789ABCDEF";

bool IsSafe(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') ||
           c == L'&' || c == L'+' || c == L'-' || c == L'.' || c == L'=' || c == L'?' ||
           c == L'_' || c == L'~' || c == L'@';
}

void AppendEscape(std::wstring& out, unsigned char b) {
    out += L'%';
    out += kHexDigits[b >> 4];
    out += kHexDigits[b & 0x0F];
}
} // namespace

std::wstring HttpEncode_level1(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (const wchar_t c : text) {
        if (static_cast<unsigned>(c) >= 128 || IsSafe(c)) {
            out += c;
        } else {
            AppendEscape(out, static_cast<unsigned char>(c));
        }
    }
    return out;
}

std::wstring HttpEncodeEx(const std::wstring& text) {
    const std::wstring level1 = HttpEncode_level1(text);
    std::wstring out;
    out.reserve(level1.size());
    size_t i = 0;
    while (i < level1.size()) {
        if (static_cast<unsigned>(level1[i]) < 128) {
            out += level1[i++];
            continue;
        }
        // A run at once, so that a surrogate pair becomes one code point.
        size_t end = i;
        while (end < level1.size() && static_cast<unsigned>(level1[end]) >= 128) {
            ++end;
        }
        for (const char b : StringToUtf8(level1.substr(i, end - i))) {
            AppendEscape(out, static_cast<unsigned char>(b));
        }
        i = end;
    }
    return out;
}

std::wstring EncodeURLEx(const std::wstring& text) {
    return HttpEncodeEx(text);
}

} // namespace torvik
