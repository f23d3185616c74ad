#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/Error.h"
#include "protocol/Multipart.h"

namespace torvik {

// A request that did not get a reply: the transport's own text ("Wininet
// error # ...", "TIEHttp error: ...") and its error code (12030: the
// connection was aborted; 0 when the failure has no code).
class ServiceTransportError : public TorvikError {
public:
    ServiceTransportError(std::wstring message, uint32_t code)
        : TorvikError(std::move(message)), code_(code) {}
    uint32_t Code() const noexcept { return code_; }

private:
    uint32_t code_;
};

inline constexpr uint32_t kErrorConnectionAborted = 12030;

struct ServiceReply {
    bool cancelled = false;          // the user stopped the request: no lines
    std::vector<std::wstring> lines; // the reply text, line by line
};

// How every service operation reaches the service: a multipart POST of a
// form to the service URL. Tests put a scripted service behind it; the
// program puts the HTTP component.
class ServiceTransport {
public:
    virtual ~ServiceTransport() = default;
    // Throws ServiceTransportError when no reply arrives.
    virtual ServiceReply Post(const std::wstring& url, const MultipartFields& form) = 0;
};

// The form every operation starts with: "build", "header" and "mode", in
// this order; the operation adds its own fields after them.
MultipartFields NewServiceRequest(const std::wstring& build, const std::wstring& header,
                                  const std::wstring& mode);

} // namespace torvik
