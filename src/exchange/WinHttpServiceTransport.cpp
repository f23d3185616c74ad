#include "exchange/WinHttpServiceTransport.h"

#include "support/WinHttpX.h"

namespace torvik {

ServiceReply WinHttpServiceTransport::Post(const std::wstring& url, const MultipartFields& form) {
    TWinHttpX http(transport_, ansi_, files_);
    http.MultipartPost = true;
    http.RequestMethod = HTTPrm_Post;
    if (timeout_.count() > 0) {
        const int ms = static_cast<int>(timeout_.count());
        http.ConnectTimeout = ms;
        http.SendTimeout = ms;
        http.ReceiveTimeout = ms;
    }
    for (const auto& field : form.TextFields()) {
        http.AddMultipartVar(field.name, field.value);
    }
    for (const auto& field : form.BinaryFields()) {
        http.AddMultipartVarBin(field.name, field.fileName, field.value);
    }
    try {
        http.ExecuteUrl(url);
    } catch (const EWinHttpClientException& e) {
        throw ServiceTransportError(e.Message(), 0);
    }
    return {false, http.ResultSl()};
}

} // namespace torvik
