#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace torvik {

// Opaque WinInet handle; 0 is none.
using NetHandle = std::uintptr_t;

// Request flags, with their WinInet values.
constexpr uint32_t kInternetFlagSecure = 0x00800000;
constexpr uint32_t kInternetFlagPragmaNoCache = 0x00000100;
constexpr uint32_t kInternetFlagReload = 0x80000000;

// A handle and the system error code the call left (which may be set even
// when a handle was returned).
struct NetCall {
    NetHandle handle = 0;
    uint32_t error = 0;
};

// The WinInet calls of the request component. Handles are closed only with
// Close. Calls may come from a worker thread; Close may come from another
// thread to make a pending call on a child handle fail.
class InternetApi {
public:
    virtual ~InternetApi() = default;

    // InternetOpenW with the system's proxy settings.
    virtual NetCall Open(const std::wstring& agent) = 0;
    virtual NetCall Connect(NetHandle session, const std::wstring& host, int port,
                            const std::wstring& user, const std::wstring& password) = 0;
    // HttpOpenRequestW over HTTP/1.0, no referrer, no accepted types.
    virtual NetCall OpenRequest(NetHandle connection, const std::wstring& method,
                                const std::wstring& path, uint32_t flags) = 0;
    // HttpSendRequestW; 0 on success, else the system error code.
    virtual uint32_t SendRequest(NetHandle request, const std::wstring& headers,
                                 const std::string& body) = 0;
    // The reply's Content-Length as a number; 0 when absent.
    virtual uint32_t QueryContentLength(NetHandle request) = 0;
    // Every Set-Cookie value of the reply.
    virtual std::vector<std::wstring> QuerySetCookies(NetHandle request) = 0;
    // Status line and headers, CR LF separated.
    virtual std::wstring QueryRawHeaders(NetHandle request) = 0;
    // InternetReadFile; 0 on success (bytesRead 0 at the end of the reply),
    // else the system error code.
    virtual uint32_t Read(NetHandle request, char* buffer, uint32_t size, uint32_t& bytesRead) = 0;
    virtual void Close(NetHandle handle) = 0;

    // Whether the system's connection state says "connected".
    virtual bool IsOnline() = 0;
    // Lifts the process-wide receive time-out when it is the default 30 s:
    // the component enforces its own inactivity limit.
    virtual void RelaxDefaultReceiveTimeout() = 0;
};

} // namespace torvik
