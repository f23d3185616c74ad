#pragma once
#include "platform/WinHttpTransport.h"

namespace torvik::win32 {

// WinHTTP in its synchronous mode. Errors carry the system's text for the
// last error, looked up in the system and in winhttp.dll.
class Win32WinHttpTransport : public WinHttpTransport {
public:
    std::unique_ptr<WinHttpConnection> Connect(const WinHttpSessionSettings& session,
                                               const std::wstring& host, int port) override;
};

} // namespace torvik::win32
