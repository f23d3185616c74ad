#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "inventory/ProgramCompare.h"

namespace torvik {
namespace {

TProgramRecord Record(std::wstring name, std::wstring path = L"", std::wstring versionX = L"",
                      int32_t status = 0, std::wstring notes = L"", std::wstring url = L"") {
    TProgramRecord r;
    r.ProgramName = std::move(name);
    r.TargetExePath = std::move(path);
    r.TargetExeVersionX = std::move(versionX);
    r.Status = status;
    r.ReceivedNotes = std::move(notes);
    r.ReceivedUrl = std::move(url);
    return r;
}

int Sign(int v) {
    return (v > 0) - (v < 0);
}

TEST(LvMainListCompare, ComparesByTheColumnsKey) {
    const OrdinalTextCompare text;
    // b has the same name as a in every case where the column's key decides,
    // so the tie-break cannot hide a wrong key.
    const struct {
        int column;
        TProgramRecord a, b;
        int expected;
    } cases[] = {
        {kColumnProgram, Record(L"alpha"), Record(L"Beta"), -1},
        {kColumnProgram, Record(L"ALPHA"), Record(L"alpha"), 0},
        {kColumnExecutable, Record(L"n", L"C:\\B\\"), Record(L"n", L"c:\\a\\"), 1},
        {kColumnMyVersion, Record(L"n", L"", L"00001.00009.00000.00000"),
         Record(L"n", L"", L"00001.00010.00000.00000"), -1},
        {kColumnDatabaseStatus, Record(L"n", L"", L"", -1), Record(L"n", L"", L"", 1), -1},
        {kColumnDatabaseStatus, Record(L"n", L"", L"", 5), Record(L"n", L"", L"", 2), 1},
        // Notes and URLs sort descending: a text before no text.
        {kColumnCommunityStatus, Record(L"n", L"", L"", 0, L"3 users have 2.0.0 build:1"),
         Record(L"n"), -1},
        {kColumnCommunityStatus, Record(L"n", L"", L"", 0, L"a"), Record(L"n", L"", L"", 0, L"b"),
         1},
        {kColumnUrl, Record(L"n", L"", L"", 0, L"", L"b.org"),
         Record(L"n", L"", L"", 0, L"", L"a.org"), -1},
    };
    for (const auto& c : cases) {
        ProgramSortState sort{c.column, false};
        EXPECT_EQ(Sign(LvMainListCompare(c.a, c.b, sort, text)), c.expected)
            << "column " << c.column;
        sort.SortDescending = true;
        EXPECT_EQ(Sign(LvMainListCompare(c.a, c.b, sort, text)), -c.expected)
            << "column " << c.column << " descending";
    }
}

TEST(LvMainListCompare, EqualKeysAreOrderedByNameAndTheFlagInvertsThatToo) {
    const OrdinalTextCompare text;
    const TProgramRecord a = Record(L"Alpha", L"C:\\X\\", L"00001", 2, L"same", L"same");
    const TProgramRecord b = Record(L"beta", L"c:\\x\\", L"00001", 2, L"SAME", L"same");
    for (int column = kColumnExecutable; column <= kColumnUrl; ++column) {
        EXPECT_LT(LvMainListCompare(a, b, {column, false}, text), 0) << column;
        EXPECT_GT(LvMainListCompare(a, b, {column, true}, text), 0) << column;
        EXPECT_GT(LvMainListCompare(b, a, {column, false}, text), 0) << column;
    }
}

TEST(LvMainListCompare, WithoutAKnownColumnEveryPairIsEqual) {
    const OrdinalTextCompare text;
    const TProgramRecord a = Record(L"Alpha"), b = Record(L"Beta");
    for (const ProgramSortState sort :
         {ProgramSortState{std::nullopt, false}, ProgramSortState{std::nullopt, true},
          ProgramSortState{6, false}, ProgramSortState{-1, true}}) {
        EXPECT_EQ(LvMainListCompare(a, b, sort, text), 0);
        EXPECT_EQ(LvMainListCompare(b, a, sort, text), 0);
    }
}

TEST(LvMainListCompare, SortsCommunityStatusWithNotesFirstThenByName) {
    const OrdinalTextCompare text;
    std::vector<TProgramRecord> records = {
        Record(L"delta"),
        Record(L"Charlie", L"", L"", 0, L"1 user has 1.0.0 build:2"),
        Record(L"bravo"),
        Record(L"alpha", L"", L"", 0, L"1 user has 1.0.0 build:2"),
    };
    const ProgramSortState sort{kColumnCommunityStatus, false};
    std::sort(records.begin(), records.end(), [&](const auto& a, const auto& b) {
        return LvMainListCompare(a, b, sort, text) < 0;
    });
    std::vector<std::wstring> names;
    for (const auto& r : records) {
        names.push_back(r.ProgramName);
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"alpha", L"Charlie", L"bravo", L"delta"}));
}

TEST(OrdinalTextCompare, FoldsOnlyAsciiLetters) {
    const OrdinalTextCompare text;
    EXPECT_EQ(text.CompareIgnoreCase(L"Tool", L"tOOL"), 0);
    EXPECT_EQ(text.CompareIgnoreCase(L"a", L"B"), -1);
    EXPECT_EQ(text.CompareIgnoreCase(L"b", L"A"), 1);
    EXPECT_EQ(text.CompareIgnoreCase(L"", L"a"), -1);
    EXPECT_NE(text.CompareIgnoreCase(L"\u00c9", L"\u00e9"), 0);
}

} // namespace
} // namespace torvik
