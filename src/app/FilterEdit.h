#pragma once
#include <string>

#include "app/Controls.h"
#include "platform/win32/UniqueHandle.h"

namespace torvik::app {

// The program list's filter box: a one-line edit box with a help icon inside
// its right edge whose tooltip explains the filter's words and "-"
// exclusions. Its parent hears EN_CHANGE as from any edit box. Without the
// icon's bitmap it says so once and works as a plain box.
class TTorvikFilterEdit : public Control {
public:
    static constexpr int kIconSize = 16;
    static constexpr int kIconTop = 1;
    static constexpr int kIconRight = 2;
    // Room for the icon and a gap, set at the first focus.
    static constexpr int kTextRightMargin = 21;

    TTorvikFilterEdit() = default;
    ~TTorvikFilterEdit() override;

    // resources: the module with the bitmap "HelpIcon"; the program's own
    // when nullptr.
    bool Create(HWND parent, int id, HMODULE resources = nullptr);
    std::wstring Text() const;
    // The icon's window (nullptr without the bitmap) and its tooltip.
    HWND HelpIcon() const { return icon_; }
    HWND Tooltip() const { return tooltip_; }
    static const wchar_t* HelpText();

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT EditMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void CreateHelpIcon(HMODULE resources);
    void PlaceHelpIcon();

    win32::UniqueBitmap bitmap_;
    HWND icon_ = nullptr, tooltip_ = nullptr;
    bool focusedOnce_ = false;
};

} // namespace torvik::app
