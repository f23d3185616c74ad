#pragma once
#include <cstdint>
#include <string>

#include "inventory/ProgramRecord.h"

namespace torvik {

// A colour as 0xRRGGBB.
using RgbColour = uint32_t;

namespace ProgramListColours {
constexpr RgbColour kSelectedFocused = 0x000080;
constexpr RgbColour kSelectedUnfocused = 0xAAAAAA;
constexpr RgbColour kExcludedBackground = 0xEFEFEF;
constexpr RgbColour kBackground = 0xFFFFFF;
constexpr RgbColour kText = 0x000000;
constexpr RgbColour kSelectedText = 0xFFFFFF;
constexpr RgbColour kNewerVersion = 0xFF0000;
constexpr RgbColour kUpToDate = 0x0000FF;
constexpr RgbColour kOwnSubmission = 0x008000;
constexpr RgbColour kNotInDatabase = 0x808080;
} // namespace ProgramListColours

struct ProgramRowState {
    bool selected = false;
    bool listFocused = false; // the list, not the row, has the keyboard focus
};

struct ProgramRowColours {
    RgbColour background = ProgramListColours::kBackground;
    RgbColour text = ProgramListColours::kText;
};

// How one cell of the program list is drawn: its text on one line, in from
// the cell's left edge by leftMargin and from its right edge by kRightMargin.
struct ProgramCellLook {
    static constexpr int kRightMargin = 2;
    // Where the program's icon goes in its cell: from the cell's left edge,
    // at the row's top.
    static constexpr int kIconLeft = 3;

    std::wstring text;
    RgbColour colour = ProgramListColours::kText;
    bool bold = false;
    int leftMargin = 2;
    bool icon = false; // the program's icon precedes the text
};

ProgramRowColours ProgramRowColoursOf(const TProgramRecord& record, ProgramRowState state);

// A received URL as the list shows it: without "http://" and a final "/", a
// bare host given "http://" back, and a leading space so that it does not
// touch the column's edge. Blank stays empty.
std::wstring UrlCellText(const std::wstring& receivedUrl);

} // namespace torvik
