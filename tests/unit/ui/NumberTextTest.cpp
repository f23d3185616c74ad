#include <gtest/gtest.h>

#include <optional>

#include "ui/NumberText.h"

namespace torvik {
namespace {

TEST(NumberText, OnlyAWholeFiniteNumberReads) {
    const struct {
        const wchar_t* text;
        std::optional<double> value;
    } cases[] = {
        {L"15", 15},
        {L"-2.5", -2.5},
        {L".5", 0.5},
        {L"1.", 1},
        {L"15.00000", 15},
        {L"1e3", 1000},
        {L"", std::nullopt},
        {L"1,5", std::nullopt},
        {L"12abc", std::nullopt},
        {L"abc", std::nullopt},
        {L"-", std::nullopt},
        {L".", std::nullopt},
        {L"nan", std::nullopt},
        {L"inf", std::nullopt},
        {L"1e999", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseNumber(c.text), c.value) << c.text;
        EXPECT_EQ(NumberOrZero(c.text), c.value.value_or(0)) << c.text;
    }
}

TEST(NumberText, WrittenTextsReadBackAsTheSameValue) {
    const struct {
        double value;
        const wchar_t* fixed5;
        const wchar_t* shortest;
    } cases[] = {
        {15, L"15.00000", L"15"},
        {0.1, L"0.10000", L"0.1"},
        {-2.5, L"-2.50000", L"-2.5"},
        {0, L"0.00000", L"0"},
        {1234567.125, L"1234567.12500", L"1234567.125"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FixedNumberText(c.value, 5), c.fixed5) << c.value;
        EXPECT_EQ(NumberText(c.value), c.shortest) << c.value;
    }
    EXPECT_EQ(FixedNumberText(2.5, 0), L"2");
    // 15 significant digits are not enough for every double.
    for (const double value : {0.1 + 0.2, 1.0 / 3, 1e300, -4.9e-324}) {
        EXPECT_EQ(ParseNumber(NumberText(value)), value) << value;
    }
}

TEST(NumberText, TypingKeepsOnlyWhatCanBecomeANumber) {
    for (const wchar_t* text : {L"", L"-", L".", L"-.", L"12", L"-12.", L"0.25", L".5"}) {
        EXPECT_TRUE(IsTypedNumber(text)) << text;
    }
    for (const wchar_t* text : {L"1.2.3", L"--1", L"1-", L"a", L"1e5", L" 1", L"1,5", L"+1"}) {
        EXPECT_FALSE(IsTypedNumber(text)) << text;
    }
}

} // namespace
} // namespace torvik
