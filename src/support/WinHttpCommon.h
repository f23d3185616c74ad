#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Error.h"

namespace torvik {

// Failures of the WinHTTP client.
class EWinHttpClientException : public TorvikError {
public:
    using TorvikError::TorvikError;
};

// The standard request header fields, in the order they are sent.
enum TWinHTTPRequestHeaderField {
    hAccept,
    hAcceptCharset,
    hAcceptEncoding,
    hAcceptLanguage,
    hAllow,
    hAuthorization,
    hCacheControl,
    hConnection,
    hContentEncoding,
    hContentLanguage,
    hContentLength,
    hContentLocation,
    hContentMD5,
    hContentRange,
    hContentType,
    hDate,
    hExpect,
    hExpires,
    hFrom,
    hHost,
    hIfMatch,
    hIfModifiedSince,
    hIfNoneMatch,
    hIfRange,
    hIfUnmodifiedSince,
    hLastModified,
    hMaxForwards,
    hPragma,
    hProxyAuthorization,
    hRange,
    hReferer,
    hTE,
    hTrailer,
    hTransferEncoding,
    hUpgrade,
    hUserAgent,
    hVia,
    hWarning,
    kRequestHeaderFieldCount
};

// Header fields sent with every request, custom header lines ("Name: value")
// and cookies ("name=value"). OnChange reports the index of a changed field.
class TWinHTTPRequestHeader {
public:
    TWinHTTPRequestHeader();
    const std::wstring& Get(int field) const { return fields_.at(static_cast<size_t>(field)); }
    void Set(int field, const std::wstring& value);
    static std::wstring_view FieldName(int field);

    std::vector<std::wstring> CustomHeaders;
    std::vector<std::wstring> Cookies;
    std::function<void(int field)> OnChange;

    // The header block: every field with a non-blank value as "Name: value",
    // then the custom headers with name and value, then one "Cookie:" line;
    // each line ends with CR LF.
    std::wstring RawHeaderText() const;

private:
    std::array<std::wstring, kRequestHeaderFieldCount> fields_;
};

// The parsed header of a reply.
class TWinHTTPResponseHeader {
public:
    void Clear();
    // Reads a raw header block (status line first, lines separated by CR LF).
    void SetRawHeaderText(const std::wstring& raw);

    std::wstring ProtocolVersion; // "1.1" of "HTTP/1.1"
    std::wstring StatusCode;      // as text, "200"
    std::wstring ReasonPhrase;
    std::vector<std::wstring> Cookies;       // values of the Set-Cookie lines
    std::vector<std::wstring> CustomHeaders; // every other non-empty line

    // A named field's value (letter case of the name ignored); empty when
    // absent or not one of the named fields.
    std::wstring Field(std::wstring_view name) const;
    std::wstring ContentType() const { return Field(L"Content-Type"); }
    std::wstring ContentEncoding() const { return Field(L"Content-Encoding"); }
    // The numeric status code, 0 when it is no number.
    int StatusNumber() const;
    // The numeric Content-Length, 0 when absent or no number.
    int64_t ContentLengthNumber() const;

private:
    std::vector<std::pair<std::wstring, std::wstring>> named_;
};

// Proxy settings; OnChange reports server (0), port (1) or bypass (2).
class TWinHTTPClientProxyParams {
public:
    const std::wstring& ProxyServer() const { return server_; }
    int ProxyPort() const { return port_; }
    const std::wstring& ProxyBypass() const { return bypass_; }
    void SetProxyServer(const std::wstring& value);
    void SetProxyPort(int value);
    void SetProxyBypass(const std::wstring& value);

    std::wstring ProxyUserName;
    std::wstring ProxyPassword;
    std::function<void(int what)> OnChange;

private:
    void Changed(int what);
    std::wstring server_;
    int port_ = 0;
    std::wstring bypass_;
};

} // namespace torvik
