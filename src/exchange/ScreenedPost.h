#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "protocol/Multipart.h"
#include "service/ReplyScreening.h"
#include "service/ServiceTransport.h"

namespace torvik {

// How a presenter reaches the service: where, as which build, under which
// header, and what screening does besides raising.
struct ServiceAccess {
    ServiceTransport& transport;
    std::function<std::wstring()> url;    // the service URL as the settings hold it now
    std::wstring build;                   // the build number every request carries
    std::function<std::wstring()> header; // the "header" field, built at first show
    ScreeningHooks screening;

    // Throws ServiceTransportError when no reply arrives.
    ServiceReply Post(const MultipartFields& form) const { return transport.Post(url(), form); }
};

// The lines of a reply that passed ScreenReply; nullopt for a request the
// user cancelled, which has no reply to screen. Throws the screening's error.
std::optional<std::vector<std::wstring>> ScreenedLines(const ServiceReply& reply,
                                                       const ScreeningHooks& hooks = {});

// Posts the form and screens the reply, as above. Throws
// ServiceTransportError or the screening's error.
std::optional<std::vector<std::wstring>> PostScreened(ServiceTransport& transport,
                                                      const std::wstring& url,
                                                      const MultipartFields& form,
                                                      const ScreeningHooks& hooks = {});

} // namespace torvik
