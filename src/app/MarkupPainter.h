#pragma once
#include <windows.h>

#include <utility>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "ui/LinkMarkup.h"

namespace torvik::app {

// The fonts a mark-up asks for, made from a label's font with its style
// cleared, each made once per pass.
class MarkupFonts {
public:
    MarkupFonts(HDC dc, HFONT labelFont);
    // The label's font as the mark-up starts from it: its size, no style.
    MarkupStyle BaseStyle() const { return base_; }
    HFONT For(const MarkupStyle& style);

private:
    LOGFONTW logFont_{};
    int pixelsPerInch_ = 96;
    MarkupStyle base_;
    std::vector<std::pair<MarkupStyle, win32::UniqueFont>> fonts_;
};

// Measures mark-up text as the device context will draw it.
class GdiMeasurer : public MarkupMeasurer {
public:
    GdiMeasurer(HDC dc, MarkupFonts& fonts) : dc_(dc), fonts_(fonts) {}
    int Width(std::wstring_view text, const MarkupStyle& style) override;
    int Height(const MarkupStyle& style) override;

private:
    HDC dc_;
    MarkupFonts& fonts_;
};

// Draws a laid-out mark-up with its top left corner at origin. Rules are as
// wide as the layout was given room for; in the disabled look they take the
// text colour, otherwise they are black.
void PaintMarkup(HDC dc, const MarkupLayout& layout, MarkupFonts& fonts, POINT origin,
                 COLORREF textColor, bool disabledLook);

} // namespace torvik::app
