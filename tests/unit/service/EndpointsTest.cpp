#include <gtest/gtest.h>

#include "common/Text.h"
#include "service/Endpoints.h"

namespace torvik {
namespace {

TEST(Endpoints, TheLocalSwitchesPointTheServiceAtThisComputer) {
    const std::wstring mine = L"https://catalogue.example/versionchecker.aspx";
    const struct {
        bool url1, url2;
        std::wstring expected;
    } cases[] = {
        {false, false, mine},
        {true, false, L"http://127.0.0.1/torviksoftware/VersionChecker.aspx"},
        {false, true, L"http://127.0.0.1:1245/VersionChecker.aspx"},
        {true, true, L"http://127.0.0.1:1245/VersionChecker.aspx"}, // the second wins
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ServiceUrlAfterSwitches(mine, c.url1, c.url2), c.expected);
    }
}

TEST(Endpoints, EveryAddressLiesBelowTheSiteRoot) {
    EXPECT_TRUE(EndsWith(SiteRoot(), L"/"));
    EXPECT_EQ(DefaultServiceUrl(), SiteRoot() + L"versionchecker.aspx");
    EXPECT_EQ(SitePage(L"ForumThreads.aspx?AppId=14"), SiteRoot() + L"ForumThreads.aspx?AppId=14");
}

TEST(Endpoints, PagesBesideTheServiceComeFromItsFolder) {
    const struct {
        std::wstring serviceUrl, expected;
    } cases[] = {
        {kLocalServiceUrl2, L"http://127.0.0.1:1245/program.aspx?id="},
        {kLocalServiceUrl1, L"http://127.0.0.1/torviksoftware/program.aspx?id="},
        {DefaultServiceUrl(), SiteRoot() + L"program.aspx?id="},
        {L"http://host", L"http://host/program.aspx?id="},
        {L"http://host/v.aspx?next=/a/b#x/y", L"http://host/program.aspx?id="},
        {L"", SiteRoot() + L"program.aspx?id="},
        {L"versionchecker.aspx", SiteRoot() + L"program.aspx?id="},
        {L"http://", SiteRoot() + L"program.aspx?id="},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PageBesideService(c.serviceUrl, L"program.aspx?id="), c.expected) << c.serviceUrl;
    }
}

} // namespace
} // namespace torvik
