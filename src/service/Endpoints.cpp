#include "service/Endpoints.h"

#include "build_info.h"

namespace torvik {

std::wstring SiteRoot() {
    std::wstring root = TORVIK_SITE_ROOT;
    if (root.empty() || root.back() != L'/') {
        root += L'/';
    }
    return root;
}

std::wstring SitePage(const std::wstring& relative) {
    return SiteRoot() + relative;
}

std::wstring DefaultServiceUrl() {
    return SitePage(L"versionchecker.aspx");
}

std::wstring ServiceUrlAfterSwitches(const std::wstring& url, bool localUrl1, bool localUrl2) {
    if (localUrl2) {
        return kLocalServiceUrl2;
    }
    if (localUrl1) {
        return kLocalServiceUrl1;
    }
    return url;
}

} // namespace torvik
