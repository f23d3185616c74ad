#include "platform/TextCompare.h"

#include <cstdint>

#include "common/Text.h"

namespace torvik {

int OrdinalTextCompare::CompareIgnoreCase(const std::wstring& a, const std::wstring& b) const {
    const int c = LowerCaseAscii(a).compare(LowerCaseAscii(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::string OrdinalTextCompare::SortKey(const std::wstring& text) const {
    // Each code unit's bytes, most significant first: byte order is then
    // code-point order.
    std::string key;
    key.reserve(text.size() * sizeof(wchar_t));
    for (const wchar_t c : LowerCaseAscii(text)) {
        const auto unit = static_cast<uint32_t>(c);
        for (int shift = (sizeof(wchar_t) - 1) * 8; shift >= 0; shift -= 8) {
            key += static_cast<char>((unit >> shift) & 0xFF);
        }
    }
    return key;
}

} // namespace torvik
