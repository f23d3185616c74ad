#pragma once
#include <chrono>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"
#include "platform/WinHttpTransport.h"
#include "service/ServiceTransport.h"

namespace torvik {

// The service reached through the WinHTTP client, one synchronous request
// at a time: the caller waits for the reply. Each request gets a client of
// its own, so that no field of an earlier request goes with it (the client
// keeps every field it was given). Safe to use from one thread per
// instance; the details page's worker has its own.
class WinHttpServiceTransport : public ServiceTransport {
public:
    // timeout: for connecting, sending and receiving each; zero keeps
    // WinHTTP's own.
    WinHttpServiceTransport(WinHttpTransport& transport, const AnsiCodePage& ansi,
                            const FileSystem& files,
                            std::chrono::milliseconds timeout = std::chrono::milliseconds(0))
        : transport_(transport), ansi_(ansi), files_(files), timeout_(timeout) {}

    ServiceReply Post(const std::wstring& url, const MultipartFields& form) override;

private:
    WinHttpTransport& transport_;
    const AnsiCodePage& ansi_;
    const FileSystem& files_;
    std::chrono::milliseconds timeout_;
};

} // namespace torvik
