#include "service/ServiceTransport.h"

namespace torvik {

MultipartFields NewServiceRequest(const std::wstring& build, const std::wstring& header,
                                  const std::wstring& mode) {
    MultipartFields form;
    form.AddText(L"build", build);
    form.AddText(L"header", header);
    form.AddText(L"mode", mode);
    return form;
}

} // namespace torvik
