#include <gtest/gtest.h>

#include "protocol/Split.h"

namespace torvik {
namespace {

using Fields = std::vector<std::wstring>;

TEST(Split, FieldsAreOneMoreThanSeparators) {
    struct Case {
        std::wstring text, sep;
        bool trim;
        Fields fields;
    };
    const Case cases[] = {
        {L"", L"|", true, {}},
        {L"|", L"|", true, {L"", L""}},
        {L"a|", L"|", true, {L"a", L""}},
        {L"a", L"|", false, {L"a"}},
        {L" a | b\t|c ", L"|", true, {L"a", L"b", L"c"}},
        {L" a | b ", L"|", false, {L" a ", L" b "}},
        {L"x>>>y>>>>z", L">>>", true, {L"x", L"y", L">z"}},
        {L"aXbxc", L"x", false, {L"aXb", L"c"}},
        {L"a||b", L"|", false, {L"a", L"", L"b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(_x_Split(c.text, c.sep, c.trim), c.fields) << c.text.size();
    }
    EXPECT_EQ(_x_SplitToSl(L" a | b ", L"|"), (Fields{L"a", L"b"}));
}

TEST(Split, ReplaceIgnoresAsciiCase) {
    EXPECT_EQ(_x_StringReplace_IC(L"Abc aBC x", L"abc", L"-"), L"- - x");
    EXPECT_EQ(_x_StringReplace_IC(L"abc", L"", L"-"), L"abc");
    EXPECT_EQ(_x_StringReplace_IC(L"aaa", L"a", L"aa"), L"aaaaaa");
}

TEST(SplitCsv, QuotesBlanksAndSeparators) {
    struct Case {
        std::wstring text;
        wchar_t sep;
        Fields fields;
    };
    const Case cases[] = {
        {L"a;b;c", L';', {L"a", L"b", L"c"}},
        {L"\"a;b\";c", L';', {L"a;b", L"c"}},
        {L"\"say \"\"hi\"\"\";x", L';', {L"say \"hi\"", L"x"}},
        {L"a;;b", L';', {L"a", L"b"}},
        {L"a; ;b", L';', {L"a", L" b"}},
        {L" a ;b", L';', {L" a ", L"b"}},
        {L"\"open;end", L';', {L"open;end"}},
        {L"", L';', {}},
        {L"a,b", L'\0', {L"a", L"b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(_x_SplitCsvDataLineX(c.text, c.sep), c.fields) << c.text.size();
    }
}

TEST(SplitCsv, NulSeparatorFollowsTheLocale) {
    EXPECT_EQ(_x_SplitCsvDataLineX(L"a;b,c", L'\0', {L',', L','}), (Fields{L"a", L"b,c"}));
    EXPECT_EQ(_x_SplitCsvDataLineX(L"a;b,c", L'\0', {L';', L','}), (Fields{L"a", L"b,c"}));
    EXPECT_EQ(_x_SplitCsvDataLineX(L"a;b,c", L'\0', {L',', L'.'}), (Fields{L"a;b", L"c"}));
}

TEST(Lines, SplitAtAnyLineBreakWithoutTrailingEmptyLine) {
    EXPECT_EQ(TextToLines(L"a\r\nb\rc\nd"), (Fields{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(TextToLines(L"a\r\n"), (Fields{L"a"}));
    EXPECT_EQ(TextToLines(L"a\r\n\r\nb"), (Fields{L"a", L"", L"b"}));
    EXPECT_EQ(TextToLines(L""), Fields{});
    EXPECT_EQ(LinesToText({L"a", L"b"}), L"a\r\nb\r\n");
}

} // namespace
} // namespace torvik
