#pragma once
#include <string>

namespace torvik {

// The one place that knows where the maker's services are. The site root is
// a build setting (TORVIK_SITE_ROOT); the local addresses are for a service
// run on this computer, as the switches "local_url1" and "local_url2" ask.
inline constexpr const wchar_t* kLocalServiceUrl1 =
    L"http://127.0.0.1/torviksoftware/VersionChecker.aspx";
inline constexpr const wchar_t* kLocalServiceUrl2 = L"http://127.0.0.1:1245/VersionChecker.aspx";

// The root of the maker's web site, ending in "/".
std::wstring SiteRoot();
// A page of the site: the root followed by the relative address.
std::wstring SitePage(const std::wstring& relative);
// A page that the service at serviceUrl serves beside itself: the service
// address up to its last folder, followed by the relative address. The
// site's page when serviceUrl is not an address with a host.
std::wstring PageBesideService(const std::wstring& serviceUrl, const std::wstring& relative);
// The version-check service's address when the user has set no other.
std::wstring DefaultServiceUrl();
// The service address after the command-line switches: "local_url2" wins
// over "local_url1"; without either the address stays as it is.
std::wstring ServiceUrlAfterSwitches(const std::wstring& url, bool localUrl1, bool localUrl2);

} // namespace torvik
