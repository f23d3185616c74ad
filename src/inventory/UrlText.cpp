#include "inventory/UrlText.h"

#include "common/Text.h"

namespace torvik {

std::wstring TrimUrl(const std::wstring& url) {
    static const std::wstring kHttp = L"http://";
    std::wstring text = url;
    for (size_t pos = text.find(kHttp); pos != std::wstring::npos; pos = text.find(kHttp, pos)) {
        text.erase(pos, kHttp.size());
    }
    text = Trim(text);
    if (EndsWith(text, L"/")) {
        text.pop_back();
    }
    return text;
}

} // namespace torvik
