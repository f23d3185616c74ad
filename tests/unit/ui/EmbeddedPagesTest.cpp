#include <gtest/gtest.h>

#include "service/Endpoints.h"
#include "ui/EmbeddedPages.h"

namespace torvik {
namespace {

TEST(EmbeddedPages, EachPageAsksTheSiteForThisBuildInItsMode) {
    const struct {
        EmbeddedPage page;
        std::wstring build, expected;
    } cases[] = {
        {EmbeddedPage::Home, L"1452", L"AppFrame_Updater.aspx?b=1452"},
        {EmbeddedPage::WebComments, L"1452", L"AppFrame_Updater.aspx?b=1452&mode=1"},
        {EmbeddedPage::WebUpdates, L"1452", L"AppFrame_Updater.aspx?b=1452&mode=2"},
        {EmbeddedPage::WebUpdates, L"0", L"AppFrame_Updater.aspx?b=0&mode=2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EmbeddedPageAddress(c.page, c.build), SiteRoot() + c.expected)
            << static_cast<int>(c.page) << " build " << std::string(c.build.begin(), c.build.end());
    }
}

} // namespace
} // namespace torvik
