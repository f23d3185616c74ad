#include "service/IEHttpTransport.h"

#include "common/Text.h"

namespace torvik {

ServiceReply IEHttpTransport::Post(const std::wstring& url, const MultipartFields& form) {
    http_.SetMultipartPOST(true);
    for (const auto& field : form.TextFields()) {
        http_.AddMultipartVarW(field.name, field.value);
    }
    for (const auto& field : form.BinaryFields()) {
        http_.AddMultipartVarBin(field.name, field.fileName, field.value);
    }
    http_.BlockingMode = false;
    http_.TimerIntervalSeconds = 1;
    try {
        http_.ExecuteUrl(url);
    } catch (const TorvikError& e) {
        if (http_.Canceled()) {
            return {true, {}};
        }
        throw ServiceTransportError(e.Message(), http_.DWErrorX);
    }
    if (http_.Canceled()) {
        return {true, {}};
    }
    return {false, http_.ResultSl};
}

void ScreenIEReply(const TIEHttp& http, const ScreeningHooks& hooks) {
    ScreenReply(LinesToText(http.ResultSl), hooks);
}

} // namespace torvik
