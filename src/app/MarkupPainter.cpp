#include "app/MarkupPainter.h"

#include <algorithm>
#include <cstdlib>

namespace torvik::app {

MarkupFonts::MarkupFonts(HDC dc, HFONT labelFont) {
    if (labelFont == nullptr ||
        ::GetObjectW(labelFont, sizeof logFont_, &logFont_) != sizeof logFont_) {
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof logFont_, &logFont_);
    }
    pixelsPerInch_ = std::max(1, ::GetDeviceCaps(dc, LOGPIXELSY));
    base_.size = std::max(1, ::MulDiv(std::abs(logFont_.lfHeight), 72, pixelsPerInch_));
}

HFONT MarkupFonts::For(const MarkupStyle& style) {
    const auto known = std::find_if(fonts_.begin(), fonts_.end(),
                                    [&style](const auto& font) { return font.first == style; });
    if (known != fonts_.end()) {
        return known->second.get();
    }
    LOGFONTW font = logFont_;
    // The label's own height stays exact; other sizes come from points.
    if (style.size != base_.size) {
        font.lfHeight = -::MulDiv(style.size, pixelsPerInch_, 72);
    }
    font.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = style.italic ? TRUE : FALSE;
    font.lfUnderline = style.underline ? TRUE : FALSE;
    font.lfStrikeOut = style.strikeOut ? TRUE : FALSE;
    fonts_.emplace_back(style, win32::UniqueFont(::CreateFontIndirectW(&font)));
    return fonts_.back().second.get();
}

int GdiMeasurer::Width(std::wstring_view text, const MarkupStyle& style) {
    const win32::SelectedObject selected(dc_, fonts_.For(style));
    SIZE extent{};
    ::GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

int GdiMeasurer::Height(const MarkupStyle& style) {
    const win32::SelectedObject selected(dc_, fonts_.For(style));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc_, &metrics);
    return metrics.tmHeight;
}

void PaintMarkup(HDC dc, const MarkupLayout& layout, MarkupFonts& fonts, POINT origin,
                 COLORREF textColor, bool disabledLook) {
    ::SetTextColor(dc, textColor);
    for (const auto& run : layout.runs) {
        const win32::SelectedObject selected(dc, fonts.For(run.style));
        ::SetBkMode(dc, run.background ? OPAQUE : TRANSPARENT);
        if (run.background) {
            ::SetBkColor(dc, *run.background);
        }
        ::TextOutW(dc, origin.x + run.x, origin.y + run.y, run.text.c_str(),
                   static_cast<int>(run.text.size()));
    }
    for (const auto& rule : layout.rules) {
        const win32::UniquePen pen(
            ::CreatePen(PS_SOLID, rule.thickness, disabledLook ? textColor : RGB(0, 0, 0)));
        const win32::SelectedObject selected(dc, pen.get());
        ::MoveToEx(dc, origin.x, origin.y + rule.y, nullptr);
        ::LineTo(dc, origin.x + rule.width, origin.y + rule.y);
    }
}

} // namespace torvik::app
