#include "protocol/UrlParts.h"

#include "common/Text.h"
#include "protocol/Encodings.h"

namespace torvik {
namespace {
int DefaultPort(const std::wstring& scheme) {
    if (scheme == L"https") {
        return 443;
    }
    if (scheme == L"ftp") {
        return 21;
    }
    return scheme == L"http" ? 80 : 0;
}

std::optional<int> ParsePort(const std::wstring& text) {
    if (text.empty() || text.size() > 5) {
        return std::nullopt;
    }
    int port = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        port = port * 10 + (c - L'0');
    }
    if (port < 1 || port > 65535) {
        return std::nullopt;
    }
    return port;
}

bool IsHexChar(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F') || (c >= L'a' && c <= L'f');
}
} // namespace

std::wstring WithDefaultScheme(const std::wstring& url) {
    return url.find(L"://") == std::wstring::npos ? L"http://" + url : url;
}

std::optional<UrlParts> CrackUrl(const std::wstring& url) {
    const size_t schemeEnd = url.find(L"://");
    if (schemeEnd == std::wstring::npos || schemeEnd == 0) {
        return std::nullopt;
    }
    UrlParts parts;
    parts.scheme = LowerCaseAscii(url.substr(0, schemeEnd));
    const size_t authorityStart = schemeEnd + 3;
    const size_t authorityEnd = url.find_first_of(L"/?#", authorityStart);
    std::wstring authority = url.substr(authorityStart, authorityEnd == std::wstring::npos
                                                            ? std::wstring::npos
                                                            : authorityEnd - authorityStart);
    const size_t at = authority.rfind(L'@');
    if (at != std::wstring::npos) {
        const std::wstring credentials = authority.substr(0, at);
        const size_t colon = credentials.find(L':');
        parts.userName = credentials.substr(0, colon);
        if (colon != std::wstring::npos) {
            parts.password = credentials.substr(colon + 1);
        }
        authority.erase(0, at + 1);
    }
    const size_t colon = authority.rfind(L':');
    if (colon != std::wstring::npos && authority.find(L']', colon) == std::wstring::npos) {
        const auto port = ParsePort(authority.substr(colon + 1));
        if (!port) {
            return std::nullopt;
        }
        parts.port = *port;
        authority.erase(colon);
    } else {
        parts.port = DefaultPort(parts.scheme);
    }
    if (authority.empty()) {
        return std::nullopt;
    }
    parts.host = authority;
    if (authorityEnd != std::wstring::npos) {
        const std::wstring rest = url.substr(authorityEnd);
        const size_t extraStart = rest.find_first_of(L"?#");
        parts.path = rest.substr(0, extraStart);
        if (extraStart != std::wstring::npos) {
            parts.extra = rest.substr(extraStart);
        }
    }
    return parts;
}

std::wstring DecodeUrlEscapes(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 2 < text.size() && IsHexChar(text[i + 1]) &&
            IsHexChar(text[i + 2])) {
            out += static_cast<wchar_t>(
                DecodeHEXChr(static_cast<char>(text[i + 1]), static_cast<char>(text[i + 2])));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::wstring AppendQueryToPath(const std::wstring& path, const std::wstring& query) {
    if (query.empty()) {
        return path;
    }
    return path + (path.find(L'?') == std::wstring::npos ? L"?" : L"&") + query;
}

} // namespace torvik
