#include "ui/ColumnDescription.h"

#include <algorithm>

#include "common/Text.h"

namespace torvik {
namespace {

std::vector<std::wstring> SplitTrimmed(std::wstring_view line, wchar_t separator) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (true) {
        const size_t end = line.find(separator, start);
        parts.push_back(Trim(line.substr(start, end - start)));
        if (end == std::wstring_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

// The line of the description that names this caption, or nullptr.
const std::wstring* LineOf(const std::vector<std::wstring>& description,
                           const std::wstring& caption) {
    const std::wstring prefix = caption + L":";
    for (const auto& line : description) {
        if (line == caption || StartsWith(line, prefix)) {
            return &line;
        }
    }
    return nullptr;
}

} // namespace

std::wstring FormatColumnLine(const ColumnSpec& column) {
    return column.caption + L":" + std::to_wstring(column.width) + L":" +
           (column.rightJustified ? L"R" : L"L") + L":" + std::to_wstring(column.tag);
}

std::vector<std::wstring> DescribeColumns(const std::vector<ColumnSpec>& columns) {
    std::vector<std::wstring> lines;
    lines.reserve(columns.size());
    for (const auto& column : columns) {
        lines.push_back(FormatColumnLine(column));
    }
    return lines;
}

ColumnSpec ParseColumnLine(std::wstring_view line) {
    const auto parts = SplitTrimmed(line, L':');
    ColumnSpec column;
    column.caption = parts[0];
    if (parts.size() > 1) {
        if (const auto width = ParseDecimal(parts[1]); width && *width >= 0) {
            column.width = *width;
        }
    }
    if (parts.size() > 2) {
        column.rightJustified = parts[2] == L"R";
    }
    if (parts.size() > 3) {
        column.tag = ParseDecimal(parts[3]).value_or(0);
    }
    return column;
}

std::vector<ColumnSpec> ParseColumnDescription(const std::vector<std::wstring>& lines) {
    std::vector<ColumnSpec> columns;
    for (const auto& line : lines) {
        if (!Trim(line).empty()) {
            columns.push_back(ParseColumnLine(line));
        }
    }
    return columns;
}

std::vector<std::wstring> RedescribeInDisplayOrder(const std::vector<std::wstring>& current,
                                                   const std::vector<ColumnSpec>& displayOrder) {
    std::vector<std::wstring> lines;
    lines.reserve(displayOrder.size());
    for (ColumnSpec column : displayOrder) {
        if (const std::wstring* line = LineOf(current, column.caption)) {
            column.width = ParseColumnLine(*line).width;
        }
        lines.push_back(FormatColumnLine(column));
    }
    return lines;
}

int CenteredTopRow(int row, int itemsPerPage) {
    return std::max(0, row - itemsPerPage / 2);
}

int RestoredSelectionIndex(int savedRow, int count) {
    if (savedRow < 0 || count <= 0) {
        return -1;
    }
    return std::min(savedRow, count - 1);
}

int ClampedFocusMove(int row, int step, int count) {
    if (count <= 0) {
        return -1;
    }
    return std::clamp(row + step, 0, count - 1);
}

int IndexOfCaptionIgnoringCase(const std::vector<std::wstring>& captions,
                               std::wstring_view caption) {
    const std::wstring wanted = Trim(caption);
    for (size_t i = 0; i < captions.size(); ++i) {
        if (SameTextAscii(Trim(captions[i]), wanted)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace torvik
