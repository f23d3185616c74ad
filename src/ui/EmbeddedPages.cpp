#include "ui/EmbeddedPages.h"

#include "service/Endpoints.h"

namespace torvik {
namespace {

const wchar_t* ModeSuffix(EmbeddedPage page) {
    switch (page) {
    case EmbeddedPage::WebComments:
        return L"&mode=1";
    case EmbeddedPage::WebUpdates:
        return L"&mode=2";
    case EmbeddedPage::Home:
        break;
    }
    return L"";
}

} // namespace

std::wstring EmbeddedPageAddress(EmbeddedPage page, const std::wstring& buildNumber) {
    return SitePage(L"AppFrame_Updater.aspx?b=" + buildNumber + ModeSuffix(page));
}

} // namespace torvik
