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

std::wstring PageBesideService(const std::wstring& serviceUrl, const std::wstring& relative) {
    const size_t scheme = serviceUrl.find(L"://");
    if (scheme == std::wstring::npos || scheme + 3 >= serviceUrl.size()) {
        return SitePage(relative);
    }
    const size_t hostStart = scheme + 3;
    const std::wstring address = serviceUrl.substr(0, serviceUrl.find_first_of(L"?#", hostStart));
    const size_t pathStart = address.find(L'/', hostStart);
    if (pathStart == std::wstring::npos) {
        return address + L"/" + relative;
    }
    return address.substr(0, address.rfind(L'/') + 1) + relative;
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
