#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace torvik {

// The synchronous WinHTTP calls behind the WinHTTP client. Every operation
// throws TorvikError carrying the system's text for the failed call.

enum class WinHttpAccessType { NoProxy, DefaultProxy, NamedProxy };

// Request flags and disabled features, with the values of <winhttp.h>.
inline constexpr uint32_t kWinHttpFlagEscapePercent = 0x00000004;
inline constexpr uint32_t kWinHttpFlagNullCodepage = 0x00000008;
inline constexpr uint32_t kWinHttpFlagEscapeDisable = 0x00000040;
inline constexpr uint32_t kWinHttpFlagEscapeDisableQuery = 0x00000080;
inline constexpr uint32_t kWinHttpFlagRefresh = 0x00000100;
inline constexpr uint32_t kWinHttpFlagSecure = 0x00800000;
inline constexpr uint32_t kWinHttpDisableCookies = 0x00000001;
inline constexpr uint32_t kWinHttpDisableRedirects = 0x00000002;
inline constexpr uint32_t kWinHttpDisableKeepAlive = 0x00000008;
// The status notification that carries the new address of a redirect.
inline constexpr uint32_t kWinHttpCallbackStatusRedirect = 0x00004000;

// A status notification: the status code and its information block.
using WinHttpStatusCallback =
    std::function<void(uint32_t status, const void* info, uint32_t infoLength)>;

struct WinHttpSessionSettings {
    std::wstring agent;
    WinHttpAccessType accessType = WinHttpAccessType::NoProxy;
    std::wstring proxyName;         // empty: none
    std::wstring proxyBypass;       // empty: none
    WinHttpStatusCallback onStatus; // may be empty
};

struct WinHttpRequestSettings {
    std::wstring verb;
    std::wstring objectName; // path with query
    std::wstring version;    // "HTTP/1.1" or "HTTP/1.0"
    std::wstring referrer;   // empty: none
    uint32_t flags = 0;
    int connectTimeout = 0; // set only when above 0
    int sendTimeout = 0;
    int receiveTimeout = 0;
    std::wstring proxyUserName; // set only when not empty
    std::wstring proxyPassword; // set only when not empty
    uint32_t disabledFeatures = 0;
    std::wstring headers; // lines ended by CR LF, added with "add" and "replace"
};

class WinHttpRequest {
public:
    virtual ~WinHttpRequest() = default;
    // Sends the request announcing totalLength body bytes, of which data are
    // the first.
    virtual void Send(std::string_view data, uint32_t totalLength) = 0;
    // Sends further body bytes.
    virtual void Write(std::string_view data) = 0;
    virtual void ReceiveResponse() = 0;
    // The status line and header fields, CR LF separated.
    virtual std::wstring RawHeaders() = 0;
    // The body bytes available now; empty when the body has ended.
    virtual std::string ReadAvailable() = 0;
};

// A session with a connection to one host and port.
class WinHttpConnection {
public:
    virtual ~WinHttpConnection() = default;
    virtual std::unique_ptr<WinHttpRequest> OpenRequest(const WinHttpRequestSettings& settings) = 0;
};

class WinHttpTransport {
public:
    virtual ~WinHttpTransport() = default;
    virtual std::unique_ptr<WinHttpConnection> Connect(const WinHttpSessionSettings& session,
                                                       const std::wstring& host, int port) = 0;
};

} // namespace torvik
