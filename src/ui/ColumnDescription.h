#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace torvik {

// One column of a report-style list as the user arranged it. The tag is the
// column's identity: it stays with the column when the user drags it to
// another place, so the code that fills the cells never depends on the order.
struct ColumnSpec {
    std::wstring caption;
    int width = kDefaultWidth;
    bool rightJustified = false;
    int tag = 0;

    static constexpr int kDefaultWidth = 50;
    friend bool operator==(const ColumnSpec&, const ColumnSpec&) = default;
};

// A column description is one line per column, in display order:
// caption:width:R|L:tag, e.g. "Version:150:L:0". It is what the settings keep,
// so columns come back in the order and widths the user left them.
std::wstring FormatColumnLine(const ColumnSpec& column);
std::vector<std::wstring> DescribeColumns(const std::vector<ColumnSpec>& columns);

// Reads a line leniently, since descriptions are written by hand in the code
// and come back from older settings files: parts are trimmed; a width that is
// not a whole number keeps the default; a missing or malformed tag is 0; only
// "R" makes the column right-justified.
ColumnSpec ParseColumnLine(std::wstring_view line);
// Every line that is not blank makes a column.
std::vector<ColumnSpec> ParseColumnDescription(const std::vector<std::wstring>& lines);

// After the user dragged columns around: the columns in their new display
// order, each keeping the width its line in the current description gives
// (the first line that is the caption or begins with caption + ":"); a column
// the description does not know keeps its own width.
std::vector<std::wstring> RedescribeInDisplayOrder(const std::vector<std::wstring>& current,
                                                   const std::vector<ColumnSpec>& displayOrder);

// The top row that puts row in the middle of a page of itemsPerPage rows;
// never above the first row.
int CenteredTopRow(int row, int itemsPerPage);
// Where a saved selection goes back in a list of count rows: the same row, or
// the last one when the list has become shorter (the saved row was the last
// and is gone); -1 when nothing was selected or nothing is left.
int RestoredSelectionIndex(int savedRow, int count);
// The row focus moves to when it moves by step from row: stops at the first
// and the last row; -1 in an empty list.
int ClampedFocusMove(int row, int step, int count);
// The first caption equal to caption when both are trimmed, ignoring letter
// case; -1 when none is.
int IndexOfCaptionIgnoringCase(const std::vector<std::wstring>& captions,
                               std::wstring_view caption);

} // namespace torvik
