#pragma once
#include <string>

namespace torvik {

// The pages of the maker's site that the main window shows in a web
// browser control: "Home" in the bottom area, "_Web Comments" and
// "_Web Updates" among the community pages.
enum class EmbeddedPage { Home, WebComments, WebUpdates };

// The page's address for this build of the program: one page of the site
// ("AppFrame_Updater.aspx") whose query names the build and, for all but
// Home, the mode.
std::wstring EmbeddedPageAddress(EmbeddedPage page, const std::wstring& buildNumber);

} // namespace torvik
