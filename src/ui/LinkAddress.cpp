#include "ui/LinkAddress.h"

#include <algorithm>
#include <cstdint>

#include "common/Text.h"

namespace torvik {
namespace {

// Blanks and control characters anywhere in Unicode, the invisible
// formatting ones (zero-width, direction overrides: they make a shown
// address read differently from the one opened), and the ASCII characters
// RFC 3986 never allows unencoded.
bool Refused(wchar_t c) {
    const auto u = static_cast<uint32_t>(c);
    if (u <= 0x20 || (u >= 0x7F && u <= 0xA0)) {
        return true;
    }
    if (u < 0x7F) {
        return std::wstring_view(L"\"<>\\^`{|}").find(c) != std::wstring_view::npos;
    }
    return u == 0x00AD || u == 0x1680 || u == 0x180E || (u >= 0x2000 && u <= 0x200F) ||
           (u >= 0x2028 && u <= 0x202F) || (u >= 0x205F && u <= 0x206F) || u == 0x3000 ||
           u == 0xFEFF;
}

bool StartsWithAnyCase(std::wstring_view s, std::wstring_view prefix) {
    return s.size() >= prefix.size() && SameTextAscii(s.substr(0, prefix.size()), prefix);
}

bool AllDigits(std::wstring_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// The part between "//" and the path, query or fragment: a host, possibly
// an IPv6 literal in brackets, possibly with a decimal port. A colon that
// is no port is how a scheme hides behind "http://" ("http://javascript:x").
bool ValidAuthority(std::wstring_view authority) {
    if (authority.empty() || authority.find(L'@') != std::wstring_view::npos) {
        return false;
    }
    std::wstring_view rest;
    if (authority.front() == L'[') {
        const size_t close = authority.find(L']');
        if (close == std::wstring_view::npos || close == 1) {
            return false;
        }
        rest = authority.substr(close + 1);
    } else {
        const size_t colon = authority.find(L':');
        if (colon == 0) {
            return false;
        }
        rest = colon == std::wstring_view::npos ? std::wstring_view() : authority.substr(colon);
    }
    return rest.empty() || (rest.front() == L':' && AllDigits(rest.substr(1)));
}

} // namespace

std::optional<std::wstring> AddressToOpen(std::wstring_view text) {
    const std::wstring trimmed = Trim(text);
    if (trimmed.empty() || std::any_of(trimmed.begin(), trimmed.end(), Refused)) {
        return std::nullopt;
    }
    const bool hasWebScheme =
        StartsWithAnyCase(trimmed, L"http://") || StartsWithAnyCase(trimmed, L"https://");
    const std::wstring address = hasWebScheme ? trimmed : L"http://" + trimmed;
    const size_t hostStart = address.find(L"//") + 2;
    const size_t hostEnd = address.find_first_of(L"/?#", hostStart);
    if (!ValidAuthority(std::wstring_view(address).substr(
            hostStart, hostEnd == std::wstring::npos ? std::wstring::npos : hostEnd - hostStart))) {
        return std::nullopt;
    }
    return address;
}

} // namespace torvik
