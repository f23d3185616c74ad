#pragma once
#include "service/IEHttp.h"
#include "service/ReplyScreening.h"
#include "service/ServiceTransport.h"

namespace torvik {

// The service reached through a TIEHttp component: a multipart POST that
// keeps the window responsive while it waits (non-blocking mode, the
// component's timer once a second for the caller's spinner). The component's
// stored Timeout applies.
class IEHttpTransport : public ServiceTransport {
public:
    explicit IEHttpTransport(TIEHttp& http) : http_(http) {}
    ServiceReply Post(const std::wstring& url, const MultipartFields& form) override;

private:
    TIEHttp& http_;
};

// ScreenReply of the component's last reply.
void ScreenIEReply(const TIEHttp& http, const ScreeningHooks& hooks = {});

} // namespace torvik
