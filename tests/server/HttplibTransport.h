#pragma once
#include <httplib.h>

#include "common/Text.h"
#include "common/Utf8.h"
#include "platform/AnsiCodePage.h"
#include "protocol/Multipart.h"
#include "service/ServiceTransport.h"

namespace torvik::server {

// The service reached with a plain HTTP client, the body built by the
// program's own multipart builder.
class HttplibTransport : public ServiceTransport {
public:
    explicit HttplibTransport(int port) : client_("127.0.0.1", port) {
        client_.set_read_timeout(10);
    }
    ServiceReply Post(const std::wstring& url, const MultipartFields& form) override {
        const std::string path = StringToUtf8(url.substr(url.find(L'/', 7)));
        const auto result = client_.Post(path, BuildMultipartBody(form, ansi_),
                                         StringToUtf8(kMultipartContentType));
        if (!result) {
            throw ServiceTransportError(L"no reply", 12029);
        }
        return {false, TextToLines(Utf8ToString(result->body))};
    }

private:
    httplib::Client client_;
    Latin1CodePage ansi_;
};

} // namespace torvik::server
