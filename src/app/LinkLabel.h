#pragma once
#include <functional>
#include <optional>
#include <string>

#include "app/Window.h"
#include "ui/LinkMarkup.h"

namespace torvik::app {

// A label that draws its caption from mark-up (see ui/LinkMarkup.h) and acts
// as a link when the caption has an anchor: hand cursor, blue text that turns
// red under the mouse. A click anywhere on it runs onClick.
class LinkLabel : public Control {
public:
    enum class VerticalLayout { Top, Center, Bottom };

    std::function<void()> onClick;

    bool Create(HWND parent, const std::wstring& caption, int id);
    void SetCaption(const std::wstring& caption);
    const std::wstring& Caption() const { return caption_; }
    bool IsLink() const { return IsLinkText(displayText_); }

    // The label's own font (not deleted by the label); nullptr goes back to
    // the parent's font.
    void SetFont(HFONT font);
    bool UsesParentFont() const { return parentFont_; }
    // The text colour when the mouse is not over the label.
    void SetFontColor(COLORREF color);
    // The colour the text is drawn in now.
    COLORREF TextColor() const { return textColor_; }
    // No colour: transparent, the parent shows through.
    void SetBackground(std::optional<COLORREF> color);
    void SetVerticalLayout(VerticalLayout layout);
    // Auto-size (on by default) makes the label as large as its mark-up; a
    // right-justified label grows to the left.
    void SetAutoSize(bool autoSize);
    void SetRightJustify(bool rightJustify);
    void Enable(bool enabled);
    // The mark-up's measured size in the label's font.
    SIZE MeasuredSize() const;
    void AdjustBounds();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    HFONT Font() const;
    void ApplyLinkColor();
    void MouseEntered();
    void MouseLeft();
    void Paint(HDC dc) const;

    std::wstring caption_;
    std::wstring displayText_;
    HFONT font_ = nullptr;
    bool parentFont_ = true;
    COLORREF textColor_ = ::GetSysColor(COLOR_WINDOWTEXT);
    COLORREF backupColor_ = textColor_;
    std::optional<COLORREF> background_ = ::GetSysColor(COLOR_BTNFACE);
    VerticalLayout layout_ = VerticalLayout::Top;
    bool autoSize_ = true;
    bool rightJustify_ = false;
    bool mouseInside_ = false;
    bool pressed_ = false;
};

} // namespace torvik::app
