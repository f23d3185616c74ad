#include <gtest/gtest.h>

#include "protocol/ServiceHeader.h"

namespace torvik {
namespace {

class FakeOsVersion : public OsVersion {
public:
    explicit FakeOsVersion(OsVersionInfo info) : info_(std::move(info)) {}
    OsVersionInfo Query() const override { return info_; }

private:
    OsVersionInfo info_;
};

TEST(ServiceHeader, LayoutJoinsUserIdVersionTextAndNumbers) {
    const FakeOsVersion os({OsVersionInfo::WindowsNT, 6, 1, 7601, L"Service Pack 1"});
    EXPECT_EQ(BuildServiceHeader(L"user_ABCDEFGHIJKLMNOPQRST_2013-05-01 10:20:30.123", os),
              L"user_ABCDEFGHIJKLMNOPQRST_2013-05-01 10:20:30.123#Windows NT 6.01.7601 Service "
              L"Pack 1#6#1#7601");
}

TEST(ServiceHeader, VersionTextPerPlatform) {
    struct Case {
        OsVersionInfo info;
        std::wstring text;
    };
    const Case cases[] = {
        {{OsVersionInfo::WindowsNT, 10, 0, 19045, L""}, L"Windows NT 10.00.19045"},
        {{OsVersionInfo::WindowsNT, 5, 1, 26, L" "}, L"Windows NT 5.01.026"},
        {{OsVersionInfo::Windows9x, 4, 10, 0x040A0B0Au, L" A "}, L"Windows 98 4.10.2826  A"},
        {{OsVersionInfo::Windows9x, 4, 0, 950, L""}, L"Windows 95 4.00.950"},
        {{OsVersionInfo::Win32s, 1, 30, 1, L""}, L"Windows 32s 1.30.001"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WindowsVersionText(c.info), c.text);
    }
}

TEST(ServiceHeader, UserIdsAreGeneratedWhenMissingOrForeign) {
    EXPECT_TRUE(UserIdNeedsRenewal(L""));
    EXPECT_TRUE(UserIdNeedsRenewal(L"someone"));
    EXPECT_FALSE(UserIdNeedsRenewal(L"user_X"));
    // 2013-05-01 10:20:30.123 as days since 1899-12-30.
    const double date = 41395.0 + (10 * 3600 + 20 * 60 + 30.123) / 86400.0;
    const std::wstring id = NewUserId(date);
    ASSERT_EQ(id.size(), 5u + 20 + 1 + 23);
    EXPECT_EQ(id.substr(0, 5), L"user_");
    EXPECT_EQ(id.substr(25), L"_2013-05-01 10:20:30.123");
    for (const wchar_t c : id.substr(5, 20)) {
        EXPECT_TRUE(c >= L'A' && c <= L'Z');
    }
    EXPECT_NE(NewUserId(date), NewUserId(date));
}

TEST(ServiceHeader, ProcessWideTextIsStored) {
    SetServiceHeader(L"h#1");
    EXPECT_EQ(ServiceHeader(), L"h#1");
}

} // namespace
} // namespace torvik
