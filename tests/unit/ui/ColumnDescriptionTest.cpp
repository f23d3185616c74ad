#include <gtest/gtest.h>

#include "ui/ColumnDescription.h"

namespace torvik {
namespace {

TEST(ColumnDescription, LinesReadAndWrite) {
    const struct {
        const wchar_t* line;
        ColumnSpec column;
        const wchar_t* written;
    } cases[] = {
        {L"Version:150:L:0", {L"Version", 150, false, 0}, L"Version:150:L:0"},
        {L"Size:80:R:3", {L"Size", 80, true, 3}, L"Size:80:R:3"},
        {L" Program : 200 : R : 7 ", {L"Program", 200, true, 7}, L"Program:200:R:7"},
        // Only "R" right-justifies; a width that is not a whole number keeps
        // the default; a missing or malformed tag is 0.
        {L"URL:120:r:2", {L"URL", 120, false, 2}, L"URL:120:L:2"},
        {L"URL:wide:R", {L"URL", ColumnSpec::kDefaultWidth, true, 0}, L"URL:50:R:0"},
        {L"URL:-5:L:x", {L"URL", ColumnSpec::kDefaultWidth, false, 0}, L"URL:50:L:0"},
        {L"URL:12.5", {L"URL", ColumnSpec::kDefaultWidth, false, 0}, L"URL:50:L:0"},
        {L"Notes", {L"Notes", ColumnSpec::kDefaultWidth, false, 0}, L"Notes:50:L:0"},
        {L"Empty:0:L:-1", {L"Empty", 0, false, -1}, L"Empty:0:L:-1"},
    };
    for (const auto& c : cases) {
        const ColumnSpec parsed = ParseColumnLine(c.line);
        EXPECT_EQ(parsed, c.column) << c.line;
        EXPECT_EQ(FormatColumnLine(parsed), c.written) << c.line;
    }
}

TEST(ColumnDescription, DescriptionKeepsTheOrderAndSkipsBlankLines) {
    const std::vector<std::wstring> lines{L"Program:200:L:0", L"", L"  ", L"Size:60:R:4",
                                          L"Version:100:L:1"};
    const auto columns = ParseColumnDescription(lines);
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_EQ(columns[0].caption, L"Program");
    EXPECT_EQ(columns[1].tag, 4);
    EXPECT_EQ(columns[2].caption, L"Version");
    EXPECT_EQ(DescribeColumns(columns),
              (std::vector<std::wstring>{L"Program:200:L:0", L"Size:60:R:4", L"Version:100:L:1"}));
}

TEST(ColumnDescription, DraggedColumnsKeepTheirDescribedWidths) {
    const std::vector<std::wstring> current{L"Program:200:L:0", L"Version:100:L:1", L"URL:150:L:2"};
    // The control's own widths differ from the description: the description wins.
    const std::vector<ColumnSpec> dragged{
        {L"URL", 10, false, 2}, {L"Program", 20, false, 0}, {L"Version", 30, true, 1}};
    EXPECT_EQ(RedescribeInDisplayOrder(current, dragged),
              (std::vector<std::wstring>{L"URL:150:L:2", L"Program:200:L:0", L"Version:100:R:1"}));

    // A caption matches its own line only, never a longer caption that begins
    // the same; a bare caption line counts; unknown columns keep their width.
    const std::vector<std::wstring> tricky{L"Version info:300:L:5", L"Version:90:L:1", L"Ver",
                                           L"Program:200:L:0"};
    const std::vector<ColumnSpec> order{{L"Ver", 44, false, 9},
                                        {L"Version", 10, false, 1},
                                        {L"New", 77, false, 6},
                                        {L"Version info", 10, false, 5}};
    EXPECT_EQ(RedescribeInDisplayOrder(tricky, order),
              (std::vector<std::wstring>{L"Ver:50:L:9", L"Version:90:L:1", L"New:77:L:6",
                                         L"Version info:300:L:5"}));
}

TEST(ColumnDescription, RowArithmetic) {
    const struct {
        int row, itemsPerPage, top;
    } centred[] = {{40, 20, 30}, {3, 20, 0}, {10, 20, 0}, {11, 21, 1}, {0, 0, 0}, {5, 1, 5}};
    for (const auto& c : centred) {
        EXPECT_EQ(CenteredTopRow(c.row, c.itemsPerPage), c.top) << c.row << "/" << c.itemsPerPage;
    }

    const struct {
        int saved, count, restored;
    } restore[] = {{3, 10, 3}, {9, 10, 9}, {10, 10, 9}, {12, 10, 9}, {-1, 10, -1}, {0, 0, -1}};
    for (const auto& c : restore) {
        EXPECT_EQ(RestoredSelectionIndex(c.saved, c.count), c.restored)
            << c.saved << " of " << c.count;
    }

    const struct {
        int row, step, count, moved;
    } focus[] = {{5, 1, 10, 6},  {5, -1, 10, 4}, {9, 1, 10, 9}, {0, -1, 10, 0},
                 {2, 20, 10, 9}, {-1, 1, 10, 0}, {0, 1, 0, -1}};
    for (const auto& c : focus) {
        EXPECT_EQ(ClampedFocusMove(c.row, c.step, c.count), c.moved)
            << c.row << "+" << c.step << " of " << c.count;
    }
}

TEST(ColumnDescription, CaptionFoundIgnoringCaseAndBlanks) {
    const std::vector<std::wstring> captions{L"Alpha", L"  DEMO ", L"demo", L""};
    EXPECT_EQ(IndexOfCaptionIgnoringCase(captions, L"demo"), 1);
    EXPECT_EQ(IndexOfCaptionIgnoringCase(captions, L" ALPHA"), 0);
    EXPECT_EQ(IndexOfCaptionIgnoringCase(captions, L""), 3);
    EXPECT_EQ(IndexOfCaptionIgnoringCase(captions, L"dem"), -1);
    EXPECT_EQ(IndexOfCaptionIgnoringCase({}, L"demo"), -1);
}

} // namespace
} // namespace torvik
