#include <gtest/gtest.h>

#include "common/Error.h"
#include "inventory/VersionText.h"

namespace torvik {
namespace {

TEST(SplitVersion123B, ReadsTheFourNumbers) {
    struct Case {
        std::wstring text;
        int32_t major, minor, release, build;
    };
    const Case cases[] = {
        {L"1.2.3 build:4", 1, 2, 3, 4},
        {L"6.1.7601 build:17514", 6, 1, 7601, 17514},
        {L"65535.65535.65535 build:65535", 65535, 65535, 65535, 65535},
        {L"0.0.0 build:0", 0, 0, 0, 0},
        {L"--", 0, 0, 0, 0},                      // no version information
        {L"1.2.3", 0, 0, 0, 0},                   // not of the "build:" form
        {L"debug build:0", 0, 0, 0, 0},           // unreadable first piece
        {L"1.2 build:", 1, 2, 0, 0},              // missing numbers become 0
        {L"1.x.3 build:y", 1, 0, 3, 0},           // unreadable numbers become 0
        {L"1.2.3 build:99999999999", 1, 2, 3, 0}, // does not fit 32 bits
        {L":", 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        int32_t major = -7, minor = -7, release = -7, build = -7; // stale values
        SplitVersion123B(c.text, major, minor, release, build);
        EXPECT_EQ(major, c.major) << c.text;
        EXPECT_EQ(minor, c.minor) << c.text;
        EXPECT_EQ(release, c.release) << c.text;
        EXPECT_EQ(build, c.build) << c.text;
    }
}

TEST(VersionX_ToStr, RewritesEachNumberInPlainDecimal) {
    EXPECT_EQ(VersionX_ToStr(L"00010.00000.00002.00100"), L"10.0.2 build:100");
    EXPECT_EQ(VersionX_ToStr(L"00001.00002.00003.00004"), L"1.2.3 build:4");
    EXPECT_EQ(VersionX_ToStr(L"65535.0.1.2"), L"65535.0.1 build:2");
    EXPECT_EQ(VersionX_ToStr(L" 1 . 2 . 3 . 4 "), L"1.2.3 build:4");
}

TEST(VersionX_ToStr, RaisesOnTextItCannotRead) {
    for (const std::wstring text : {L"", L"1.2.3", L"1.2.3.x", L"a.b.c.d", L"1..3.4"}) {
        EXPECT_THROW(VersionX_ToStr(text), TorvikError) << text;
    }
}

TEST(LPadZeros, PadsToTheWidthAndKeepsLongerTexts) {
    EXPECT_EQ(LPadZeros(L"7", 5), L"00007");
    EXPECT_EQ(LPadZeros(L"", 3), L"000");
    EXPECT_EQ(LPadZeros(L"12345", 5), L"12345");
    EXPECT_EQ(LPadZeros(L"123456", 5), L"123456");
}

TEST(MakeVersionX, SortsInVersionOrderAsPlainText) {
    EXPECT_EQ(MakeVersionX(1, 2, 3, 4), L"00001.00002.00003.00004");
    EXPECT_LT(MakeVersionX(1, 9, 0, 0), MakeVersionX(1, 10, 0, 0));
    EXPECT_LT(MakeVersionX(2, 0, 0, 65535), MakeVersionX(10, 0, 0, 0));
    EXPECT_LT(MakeVersionX(6, 1, 7600, 16385), MakeVersionX(6, 1, 7601, 17514));
}

TEST(MakeVersionX, RoundTripsThroughVersionText) {
    const std::wstring text = VersionX_ToStr(MakeVersionX(10, 0, 2, 100));
    EXPECT_EQ(text, L"10.0.2 build:100");
    int32_t a = 0, b = 0, c = 0, d = 0;
    SplitVersion123B(text, a, b, c, d);
    EXPECT_EQ(MakeVersionX(a, b, c, d), L"00010.00000.00002.00100");
}

} // namespace
} // namespace torvik
