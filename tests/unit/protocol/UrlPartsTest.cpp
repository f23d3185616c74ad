#include <gtest/gtest.h>

#include "protocol/UrlParts.h"

namespace torvik {
namespace {

TEST(UrlParts, CracksSchemeHostPortPathAndExtra) {
    struct Case {
        std::wstring url;
        std::wstring scheme, user, password, host;
        int port;
        std::wstring path, extra;
    };
    const Case cases[] = {
        {L"http://127.0.0.1:8080/a/b.aspx?x=1&y=2#f", L"http", L"", L"", L"127.0.0.1", 8080,
         L"/a/b.aspx", L"?x=1&y=2#f"},
        {L"HTTPS://host", L"https", L"", L"", L"host", 443, L"", L""},
        {L"http://u:p@host/", L"http", L"u", L"p", L"host", 80, L"/", L""},
        {L"http://u@host?q", L"http", L"u", L"", L"host", 80, L"", L"?q"},
        {L"ftp://files/x", L"ftp", L"", L"", L"files", 21, L"/x", L""},
    };
    for (const auto& c : cases) {
        const auto parts = CrackUrl(c.url);
        ASSERT_TRUE(parts.has_value()) << c.url.size();
        EXPECT_EQ(parts->scheme, c.scheme);
        EXPECT_EQ(parts->userName, c.user);
        EXPECT_EQ(parts->password, c.password);
        EXPECT_EQ(parts->host, c.host);
        EXPECT_EQ(parts->port, c.port);
        EXPECT_EQ(parts->path, c.path);
        EXPECT_EQ(parts->extra, c.extra);
    }
}

TEST(UrlParts, RejectsAddressesWithoutSchemeHostOrValidPort) {
    for (const std::wstring url : {L"host/x", L"://host", L"http://", L"http://:80/",
                                   L"http://h:0/", L"http://h:65536/", L"http://h:8a/"}) {
        EXPECT_FALSE(CrackUrl(url).has_value());
    }
}

TEST(UrlParts, DefaultSchemeEscapesAndQueries) {
    EXPECT_EQ(WithDefaultScheme(L"host/x"), L"http://host/x");
    EXPECT_EQ(WithDefaultScheme(L"https://h"), L"https://h");
    EXPECT_EQ(DecodeUrlEscapes(L"a%20b%2fc%4"), L"a b/c%4");
    EXPECT_EQ(AppendQueryToPath(L"/p", L"a=1"), L"/p?a=1");
    EXPECT_EQ(AppendQueryToPath(L"/p?q", L"a=1"), L"/p?q&a=1");
    EXPECT_EQ(AppendQueryToPath(L"/p", L""), L"/p");
}

} // namespace
} // namespace torvik
