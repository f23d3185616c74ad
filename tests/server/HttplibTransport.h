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

// Where the exchanges post; the transport takes only the path.
inline constexpr wchar_t kServiceUrl[] = L"http://127.0.0.1/TorvikSoftware/VersionChecker.aspx";

// The "header" field of an installation, as the program builds it.
inline std::wstring HeaderOf(const std::string& installation) {
    return Utf8ToString(installation) + L"#Windows NT 10.00.19045#10#0#19045";
}

// Text fields by name and value, UTF-8.
using TextFields = std::vector<std::pair<std::string, std::string>>;

// The reply text to a request of an installation as the program sends one:
// "build", "header", then the fields in order.
inline std::string AskService(int port, const std::string& installation, const TextFields& fields) {
    MultipartFields form;
    form.AddText(L"build", L"67");
    form.AddText(L"header", HeaderOf(installation));
    for (const auto& [name, value] : fields) {
        form.AddText(Utf8ToString(name), Utf8ToString(value));
    }
    HttplibTransport transport(port);
    return StringToUtf8(JoinLines(transport.Post(kServiceUrl, form).lines));
}

} // namespace torvik::server
