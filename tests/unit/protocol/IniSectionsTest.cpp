#include <gtest/gtest.h>

#include "protocol/IniSections.h"

namespace torvik {
namespace {

using Lines = std::vector<std::wstring>;

const Lines kReply = {L"[status]", L"ok",         L"",    L"[programs]", L" a|1 ", L"   ",
                      L"b|2",      L"[Programs]", L"c|3", L"[programs]", L"d|4"};

TEST(GetIniSection, CollectsUntrimmedLinesUntilTheNextOtherHeader) {
    EXPECT_EQ(GetIniSectionInternal(L"programs", kReply, false), (Lines{L" a|1 ", L"b|2"}));
    EXPECT_EQ(GetIniSectionInternal(L"[status]", kReply, false), (Lines{L"ok"}));
    EXPECT_EQ(GetIniSectionInternal(L"missing", kReply, false), Lines{});
}

TEST(GetIniSection, IgnoreCaseMergesHeadersThatDifferInCase) {
    EXPECT_EQ(GetIniSectionInternal(L"PROGRAMS", kReply, true),
              (Lines{L" a|1 ", L"b|2", L"c|3", L"d|4"}));
    EXPECT_EQ(GetIniSectionInternal(L"PROGRAMS", kReply, false), Lines{});
}

TEST(GetIniSection, HeaderMustMatchUntrimmedAndEmptySectionReadsOn) {
    const Lines lines = {L"[a] ", L"x", L"[b]", L"[a]", L"y"};
    EXPECT_EQ(GetIniSectionInternal(L"a", lines, false), (Lines{L"y"}));
    // An indented "[" is no header.
    EXPECT_EQ(GetIniSectionInternal(L"b", {L"[b]", L" [c]", L"z"}, false), (Lines{L" [c]", L"z"}));
}

TEST(GetIniSection, ValueJoinsWithCrLfAndTrims) {
    EXPECT_EQ(IniSectionValue(L"programs", kReply), L"a|1 \r\nb|2");
    EXPECT_EQ(IniSectionValue(L"missing", kReply), L"");
}

TEST(ReplaceIniSection, ReplacesUpToTheNextHeaderKeepingTheRest) {
    Lines lines = {L"[a]", L"1", L"", L"2", L"  [b]", L"3"};
    ReplaceIniSectionInternal(L"a", lines, {L"x", L"y", L"z"});
    EXPECT_EQ(lines, (Lines{L"[a]", L"x", L"y", L"z", L"  [b]", L"3"}));
    ReplaceIniSectionInternal(L"c", lines, {L"9"});
    EXPECT_EQ(lines, (Lines{L"[a]", L"x", L"y", L"z", L"  [b]", L"3", L"[c]", L"9"}));
    ReplaceIniSectionInternal(L"c", lines, {});
    EXPECT_EQ(lines, (Lines{L"[a]", L"x", L"y", L"z", L"  [b]", L"3", L"[c]"}));
}

TEST(ReplaceIniSection, OnlyAnExactHeaderLineStartsTheSection) {
    Lines lines = {L"  [b]", L"3"};
    ReplaceIniSectionInternal(L"[b]", lines, {L"4"});
    EXPECT_EQ(lines, (Lines{L"  [b]", L"3", L"[b]", L"4"}));
}

} // namespace
} // namespace torvik
