#include "support/WinHttpCommon.h"

#include "common/Text.h"
#include "protocol/Split.h"

namespace torvik {
namespace {

constexpr std::wstring_view kRequestFieldNames[kRequestHeaderFieldCount] = {L"Accept",
                                                                            L"Accept-Charset",
                                                                            L"Accept-Encoding",
                                                                            L"Accept-Language",
                                                                            L"Allow",
                                                                            L"Authorization",
                                                                            L"Cache-Control",
                                                                            L"Connection",
                                                                            L"Content-Encoding",
                                                                            L"Content-Language",
                                                                            L"Content-Length",
                                                                            L"Content-Location",
                                                                            L"Content-MD5",
                                                                            L"Content-Range",
                                                                            L"Content-Type",
                                                                            L"Date",
                                                                            L"Expect",
                                                                            L"Expires",
                                                                            L"From",
                                                                            L"Host",
                                                                            L"If-Match",
                                                                            L"If-Modified-Since",
                                                                            L"If-None-Match",
                                                                            L"If-Range",
                                                                            L"If-Unmodified-Since",
                                                                            L"Last-Modified",
                                                                            L"Max-Forwards",
                                                                            L"Pragma",
                                                                            L"Proxy-Authorization",
                                                                            L"Range",
                                                                            L"Referer",
                                                                            L"TE",
                                                                            L"Trailer",
                                                                            L"Transfer-Encoding",
                                                                            L"Upgrade",
                                                                            L"User-Agent",
                                                                            L"Via",
                                                                            L"Warning"};

constexpr std::wstring_view kResponseFieldNames[] = {L"Accept-Ranges",
                                                     L"Age",
                                                     L"Allow",
                                                     L"Cache-Control",
                                                     L"Connection",
                                                     L"Content-Encoding",
                                                     L"Content-Language",
                                                     L"Content-Length",
                                                     L"Content-Location",
                                                     L"Content-MD5",
                                                     L"Content-Range",
                                                     L"Content-Type",
                                                     L"Date",
                                                     L"ETag",
                                                     L"Expires",
                                                     L"Last-Modified",
                                                     L"Location",
                                                     L"Pragma",
                                                     L"Proxy-Authenticate",
                                                     L"Retry-After",
                                                     L"Server",
                                                     L"Trailer",
                                                     L"Transfer-Encoding",
                                                     L"Upgrade",
                                                     L"Vary",
                                                     L"Via",
                                                     L"Warning",
                                                     L"WWW-Authenticate"};

int64_t ParseNumber(const std::wstring& text, int64_t fallback) {
    if (text.empty() || text.size() > 18) {
        return fallback;
    }
    int64_t n = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return fallback;
        }
        n = n * 10 + (c - L'0');
    }
    return n;
}

} // namespace

TWinHTTPRequestHeader::TWinHTTPRequestHeader() {
    fields_[hAccept] = L"text/html, */*";
}

void TWinHTTPRequestHeader::Set(int field, const std::wstring& value) {
    fields_.at(static_cast<size_t>(field)) = value;
    if (OnChange) {
        OnChange(field);
    }
}

std::wstring_view TWinHTTPRequestHeader::FieldName(int field) {
    return kRequestFieldNames[field];
}

std::wstring TWinHTTPRequestHeader::RawHeaderText() const {
    std::wstring text;
    for (int i = 0; i < kRequestHeaderFieldCount; ++i) {
        const std::wstring value = Trim(fields_[static_cast<size_t>(i)]);
        if (!value.empty()) {
            text.append(kRequestFieldNames[i]).append(L": ").append(value).append(L"\r\n");
        }
    }
    for (const auto& line : CustomHeaders) {
        const size_t colon = line.find(L':');
        if (colon == std::wstring::npos) {
            continue;
        }
        const std::wstring name = Trim(line.substr(0, colon));
        const std::wstring value = Trim(line.substr(colon + 1));
        if (!name.empty() && !value.empty()) {
            text += name + L": " + value + L"\r\n";
        }
    }
    if (!Cookies.empty()) {
        text += L"Cookie: ";
        for (size_t i = 0; i < Cookies.size(); ++i) {
            text += (i > 0 ? L"; " : L"") + Cookies[i];
        }
        text += L"\r\n";
    }
    return text;
}

void TWinHTTPResponseHeader::Clear() {
    *this = TWinHTTPResponseHeader();
}

void TWinHTTPResponseHeader::SetRawHeaderText(const std::wstring& raw) {
    Clear();
    bool first = true;
    for (const auto& line : TextToLines(raw)) {
        if (first && StartsWith(line, L"HTTP/")) {
            first = false;
            const size_t space1 = line.find(L' ');
            ProtocolVersion =
                line.substr(5, space1 == std::wstring::npos ? std::wstring::npos : space1 - 5);
            if (space1 != std::wstring::npos) {
                const size_t space2 = line.find(L' ', space1 + 1);
                StatusCode =
                    line.substr(space1 + 1, space2 == std::wstring::npos ? std::wstring::npos
                                                                         : space2 - space1 - 1);
                if (space2 != std::wstring::npos) {
                    ReasonPhrase = Trim(line.substr(space2 + 1));
                }
            }
            continue;
        }
        first = false;
        if (Trim(line).empty()) {
            continue;
        }
        const size_t colon = line.find(L':');
        const std::wstring name = Trim(line.substr(0, colon));
        const std::wstring value =
            colon == std::wstring::npos ? std::wstring() : Trim(line.substr(colon + 1));
        if (colon != std::wstring::npos && SameTextAscii(name, L"Set-Cookie")) {
            Cookies.push_back(value);
            continue;
        }
        bool named = false;
        for (const auto fieldName : kResponseFieldNames) {
            if (colon != std::wstring::npos && SameTextAscii(name, fieldName)) {
                named_.emplace_back(std::wstring(fieldName), value);
                named = true;
                break;
            }
        }
        if (!named) {
            CustomHeaders.push_back(line);
        }
    }
}

std::wstring TWinHTTPResponseHeader::Field(std::wstring_view name) const {
    for (const auto& [fieldName, fieldValue] : named_) {
        if (SameTextAscii(fieldName, name)) {
            return fieldValue;
        }
    }
    return {};
}

int TWinHTTPResponseHeader::StatusNumber() const {
    return static_cast<int>(ParseNumber(StatusCode, 0) % 1000000);
}

int64_t TWinHTTPResponseHeader::ContentLengthNumber() const {
    return ParseNumber(Field(L"Content-Length"), 0);
}

void TWinHTTPClientProxyParams::SetProxyServer(const std::wstring& value) {
    if (value != server_) {
        server_ = value;
        Changed(0);
    }
}

void TWinHTTPClientProxyParams::SetProxyPort(int value) {
    if (value != port_) {
        port_ = value;
        Changed(1);
    }
}

void TWinHTTPClientProxyParams::SetProxyBypass(const std::wstring& value) {
    if (value != bypass_) {
        bypass_ = value;
        Changed(2);
    }
}

void TWinHTTPClientProxyParams::Changed(int what) {
    if (OnChange) {
        OnChange(what);
    }
}

} // namespace torvik
