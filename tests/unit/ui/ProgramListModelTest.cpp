#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ui/ProgramListModel.h"

namespace torvik {
namespace {

using ::testing::ElementsAre;

struct Program {
    const wchar_t* name;
    int32_t status;
};

ProgramLists::RecordList Records(std::initializer_list<Program> programs) {
    ProgramLists::RecordList records;
    for (const auto& p : programs) {
        auto& r = *records.emplace_back(std::make_unique<TProgramRecord>());
        r.ProgramName = p.name;
        r.TargetExePath = L"C:\\Tools\\";
        r.TargetExeFilename = std::wstring(p.name) + L".exe";
        r.Status = p.status;
        r.TargetExeVersion = L"1.0.0 build:1";
        r.ServerVersion = L"2.0.0 build:7";
    }
    return records;
}

std::vector<std::wstring> Names(const ProgramListModel& model) {
    std::vector<std::wstring> names;
    for (size_t i = 0; i < model.Count(); ++i) {
        names.push_back(model.Row(i).ProgramName);
    }
    return names;
}

TEST(ProgramListModel, ShowsEveryPublishedProgramButThoseWhoseExecutableIsMissing) {
    const auto records = Records({{L"Editor", ProgramStatus::New},
                                  {L"Gone", ProgramStatus::Missing},
                                  {L"Excluded", ProgramStatus::Excluded},
                                  {L"Also gone", ProgramStatus::Missing},
                                  {L"Viewer", ProgramStatus::UpToDate}});
    ProgramListModel model;
    model.Refill(records);
    EXPECT_THAT(Names(model), ElementsAre(L"Editor", L"Excluded", L"Viewer"));
    EXPECT_EQ(model.CellText(2, ProgramListModel::kProgram), L"Viewer");
    EXPECT_EQ(model.CellText(2, ProgramListModel::kVersion), L"1.0.0 build:1");
    EXPECT_EQ(model.CellText(2, ProgramListModel::kFile), L"C:\\Tools\\Viewer.exe");
    EXPECT_EQ(model.CellText(3, ProgramListModel::kProgram), L"");
    EXPECT_EQ(model.CellText(0, ProgramListModel::kColumnCount), L"");
    EXPECT_THROW(model.Row(3), std::out_of_range);

    model.Refill(records, ProgramFilter(L"-editor", {.hideExcluded = true}));
    EXPECT_THAT(Names(model), ElementsAre(L"Viewer"));

    model.Clear();
    EXPECT_EQ(model.Count(), 0u);
}

TEST(ProgramListModel, SortsByTheClickedColumnAndKeepsTheOrderWithoutOne) {
    const auto records = Records({{L"b", 2}, {L"C", 1}, {L"a", 2}, {L"d", 1}});
    const OrdinalTextCompare compare;
    ProgramListModel model;
    model.Refill(records);
    model.Sort({}, compare);
    EXPECT_THAT(Names(model), ElementsAre(L"b", L"C", L"a", L"d"));
    model.Sort({kColumnProgram, false}, compare);
    EXPECT_THAT(Names(model), ElementsAre(L"a", L"b", L"C", L"d"));
    model.Sort({kColumnDatabaseStatus, false}, compare);
    EXPECT_THAT(Names(model), ElementsAre(L"C", L"d", L"a", L"b"));
    model.Sort({kColumnDatabaseStatus, true}, compare);
    EXPECT_THAT(Names(model), ElementsAre(L"b", L"a", L"d", L"C"));

    // Keys are kept from one sort to the next: a renamed program must not
    // sort by its old name.
    records[2]->ProgramName = L"z";
    model.Sort({kColumnProgram, false}, compare);
    EXPECT_THAT(Names(model), ElementsAre(L"b", L"C", L"d", L"z"));
}

TEST(ProgramListModel, SortsInTheCompareFunctionsOrderForEveryColumnAndDirection) {
    // Few distinct values per field, in several letter cases, so that keys
    // tie and the name decides.
    const wchar_t* const names[] = {L"beta", L"Alpha", L"alpha", L"Gamma", L"delta", L"BETA"};
    const wchar_t* const texts[] = {L"", L"x", L"X", L"y", L"\u00e9"};
    ProgramLists::RecordList records;
    for (int i = 0; i < 60; ++i) {
        auto& r = *records.emplace_back(std::make_unique<TProgramRecord>());
        r.ProgramName = names[i % 6];
        r.TargetExePath = texts[i % 5];
        r.TargetExeVersionX = texts[(i / 2) % 5];
        r.Status = i % 4;
        r.ReceivedNotes = texts[(i / 3) % 5];
        r.ReceivedUrl = texts[(i / 4) % 5];
    }
    const OrdinalTextCompare compare;
    ProgramListModel model;
    for (int column = kColumnProgram; column <= kColumnUrl; ++column) {
        for (const bool descending : {false, true}) {
            const ProgramSortState order{column, descending};
            model.Refill(records);
            model.Sort(order, compare);
            ASSERT_EQ(model.Count(), records.size());
            for (size_t i = 0; i + 1 < model.Count(); ++i) {
                EXPECT_LE(LvMainListCompare(model.Row(i), model.Row(i + 1), order, compare), 0)
                    << "column " << column << (descending ? " descending" : "") << ", row " << i;
            }
        }
    }
    // The keys themselves order as the comparison.
    for (const wchar_t* a : names) {
        for (const wchar_t* b : texts) {
            const int c = compare.SortKey(a).compare(compare.SortKey(b));
            EXPECT_EQ((c > 0) - (c < 0), compare.CompareIgnoreCase(a, b));
        }
    }
}

TEST(ProgramListModel, TheDatabaseStatusFollowsTheCheck) {
    ProgramListModel model;
    model.SetRecheckText(L"Not in the database yet");
    const struct {
        int32_t status;
        const wchar_t* text;
    } cases[] = {
        {ProgramStatus::NewerVersion, L"2.0.0 build:7"},
        {ProgramStatus::UpToDate, L"up to date"},
        {ProgramStatus::OwnSubmission, L"thank you!"},
        {ProgramStatus::NotInDatabase, L"Not in the database yet"},
        {ProgramStatus::NoVersionInfo, L""},
        {ProgramStatus::New, L""},
        {ProgramStatus::Excluded, L""},
        {7, L""},
    };
    for (const auto& c : cases) {
        TProgramRecord record;
        record.Status = c.status;
        record.ServerVersion = L"2.0.0 build:7";
        EXPECT_EQ(model.StatusText(record), c.text) << c.status;
    }
}

TEST(ProgramListModel, RowsAreColouredBySelectionFocusAndExclusion) {
    using namespace ProgramListColours;
    const auto records =
        Records({{L"Kept", ProgramStatus::NewerVersion}, {L"Excluded", ProgramStatus::Excluded}});
    ProgramListModel model;
    model.Refill(records);
    const struct {
        size_t row;
        ProgramRowState state;
        RgbColour background, text;
    } cases[] = {
        {0, {}, kBackground, kText},
        {1, {}, kExcludedBackground, kText},
        {1, {.listFocused = true}, kExcludedBackground, kText},
        {0, {.selected = true, .listFocused = true}, kSelectedFocused, kSelectedText},
        {1, {.selected = true, .listFocused = true}, kSelectedFocused, kSelectedText},
        {1, {.selected = true}, kSelectedUnfocused, kSelectedText},
    };
    for (const auto& c : cases) {
        const auto colours = model.RowColours(c.row, c.state);
        EXPECT_EQ(colours.background, c.background) << c.row << c.state.selected;
        EXPECT_EQ(colours.text, c.text) << c.row << c.state.selected;
    }
}

TEST(ProgramListModel, TheStatusCellIsColouredAndWeightedByStatus) {
    using namespace ProgramListColours;
    const auto records = Records({{L"Newer", ProgramStatus::NewerVersion},
                                  {L"Current", ProgramStatus::UpToDate},
                                  {L"Mine", ProgramStatus::OwnSubmission},
                                  {L"Unknown", ProgramStatus::NotInDatabase},
                                  {L"Unversioned", ProgramStatus::NoVersionInfo},
                                  {L"Excluded", ProgramStatus::Excluded}});
    ProgramListModel model;
    model.SetRecheckText(L"will recheck");
    model.Refill(records);
    const struct {
        const wchar_t* text;
        RgbColour colour;
        bool bold;
    } expected[] = {
        {L"2.0.0 build:7", kNewerVersion, true},
        {L"up to date", kUpToDate, false},
        {L"thank you!", kOwnSubmission, true},
        {L"will recheck", kNotInDatabase, false},
        {L"", kText, false},
        {L"", kText, false},
    };
    for (size_t row = 0; row < std::size(expected); ++row) {
        const auto look = model.CellLook(row, ProgramListModel::kStatus, {});
        EXPECT_EQ(look.text, expected[row].text) << row;
        EXPECT_EQ(look.colour, expected[row].colour) << row;
        EXPECT_EQ(look.bold, expected[row].bold) << row;
        EXPECT_EQ(look.leftMargin, 2) << row;
        // Selected: white text, the weight stays.
        const auto selected = model.CellLook(row, ProgramListModel::kStatus, {.selected = true});
        EXPECT_EQ(selected.colour, kSelectedText) << row;
        EXPECT_EQ(selected.bold, expected[row].bold) << row;
    }
}

TEST(ProgramListModel, EachColumnHasItsMarginAndOnlyTheFirstAnIcon) {
    auto records = Records({{L"Tom & Jerry", ProgramStatus::NewerVersion}});
    records[0]->ReceivedNotes = L"works well";
    records[0]->ReceivedUrl = L"example.org/";
    ProgramListModel model;
    model.Refill(records);
    const struct {
        size_t column;
        const wchar_t* text;
        int margin;
        bool icon;
    } cases[] = {
        {ProgramListModel::kProgram, L"Tom & Jerry", 25, true},
        {ProgramListModel::kFile, L"C:\\Tools\\Tom & Jerry.exe", 2, false},
        {ProgramListModel::kVersion, L"1.0.0 build:1", 10, false},
        {ProgramListModel::kStatus, L"2.0.0 build:7", 2, false},
        {ProgramListModel::kCommunity, L"works well", 2, false},
        {ProgramListModel::kUrl, L" http://example.org", 2, false},
    };
    for (const auto& c : cases) {
        const auto look = model.CellLook(0, c.column, {});
        EXPECT_EQ(look.text, c.text) << c.column;
        EXPECT_EQ(look.text, model.CellText(0, c.column)) << c.column;
        EXPECT_EQ(look.leftMargin, c.margin) << c.column;
        EXPECT_EQ(look.icon, c.icon) << c.column;
        EXPECT_EQ(look.bold, c.column == ProgramListModel::kStatus) << c.column;
    }
}

TEST(ProgramListModel, UrlsLoseTheirPlainSchemeAndFinalSlash) {
    const struct {
        const wchar_t* received;
        const wchar_t* shown;
    } cases[] = {
        {L"", L""},
        {L"   ", L""},
        {L"/", L""},
        {L"example.org/", L" http://example.org"},
        {L"http://example.org/", L" http://example.org"},
        {L"https://example.org/", L" https://example.org"},
        {L"https://example.org/a/", L" https://example.org/a"},
        {L"  www.example.org/dl  ", L" http://www.example.org/dl"},
        {L"HTTP://Example.org", L" HTTP://Example.org"},
        {L"ftp://files.example.org/", L" http://ftp://files.example.org"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UrlCellText(c.received), c.shown) << c.received;
    }
}

TEST(ProgramListModel, TheSelectionFollowsItsProgramsAcrossSortAndRefill) {
    const auto records = Records({{L"a", 2}, {L"b", 1}, {L"c", 2}, {L"d", 1}});
    const OrdinalTextCompare compare;
    ProgramListModel model;
    model.Refill(records);
    const auto saved = model.KeysOf({0, 3, 7, -1});
    ASSERT_EQ(saved.size(), 2u);

    model.Sort({kColumnDatabaseStatus, false}, compare); // b d a c
    EXPECT_THAT(model.RowsOf(saved), ElementsAre(1, 2));
    EXPECT_EQ(model.RowOf(*records[2]), 3);

    model.Refill(records, ProgramFilter(L"-d", {}));
    EXPECT_THAT(model.RowsOf(saved), ElementsAre(0));
    EXPECT_EQ(model.RowOf(*records[3]), -1);

    // A rescan publishes new records: the same programs, letter case aside.
    const auto rescanned = Records({{L"D", 1}, {L"A", 2}});
    model.Refill(rescanned);
    EXPECT_THAT(model.RowsOf(saved), ElementsAre(0, 1));
    EXPECT_THAT(model.RowsOf({}), ElementsAre());
}

} // namespace
} // namespace torvik
