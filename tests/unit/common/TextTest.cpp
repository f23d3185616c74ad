#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "common/Error.h"
#include "common/Text.h"

namespace torvik {
namespace {

TEST(ParseDecimal, AcceptsOnlyASignedDecimalThatFits32Bits) {
    const struct {
        const wchar_t* text;
        std::optional<int32_t> value;
    } cases[] = {
        {L"0", 0},
        {L"-17", -17},
        {L"+5", 5},
        {L"2147483647", INT32_MAX},
        {L"-2147483648", INT32_MIN},
        {L"2147483648", {}},
        {L"", {}},
        {L"-", {}},
        {L" 5", {}},
        {L"5 ", {}},
        {L"0x10", {}},
        {L"1e3", {}},
        {L"99999999999999999999", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDecimal(c.text), c.value) << c.text;
    }
    EXPECT_EQ(StrToInt(L"42"), 42);
    try {
        StrToInt(L"one");
        FAIL();
    } catch (const TorvikError& e) {
        EXPECT_EQ(e.Message(), L"'one' is not a valid integer value");
    }
}

TEST(IntToStrN, GroupsThreeDigitsWithCommas) {
    const struct {
        int64_t value;
        const wchar_t* text;
    } cases[] = {
        {0, L"0"},
        {999, L"999"},
        {1000, L"1,000"},
        {-1234567, L"-1,234,567"},
        {std::numeric_limits<int64_t>::min(), L"-9,223,372,036,854,775,808"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IntToStrN(c.value), c.text);
    }
}

TEST(ReplaceAll, ReplacesEveryOccurrenceOnce) {
    const struct {
        const wchar_t* text;
        const wchar_t* what;
        const wchar_t* with;
        const wchar_t* result;
    } cases[] = {
        {L"a\r\nb\rc\nd", L"\r\n", L"<br>", L"a<br>b\rc\nd"},
        {L"1.2 build:3", L"build:", L"", L"1.2 3"},
        {L"build:build:7", L"build:", L"", L"7"},
        {L"aaa", L"a", L"aa", L"aaaaaa"}, // never rescans the replacement
        {L"C:\\Program Files (x86)\\X", L" (x86)", L"", L"C:\\Program Files\\X"},
        {L"same", L"", L"x", L"same"},
        {L"Build:1", L"build:", L"", L"Build:1"}, // letter case significant
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplaceAll(c.text, c.what, c.with), c.result) << c.text;
    }
    EXPECT_EQ(JoinLines({L"a", L"", L"b"}), L"a\r\n\r\nb");
    EXPECT_EQ(JoinLines({}), L"");
}

} // namespace
} // namespace torvik
