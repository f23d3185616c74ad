#pragma once
#include <functional>
#include <string>

#include "app/Window.h"

namespace torvik::app {

// Floating panels lie over controls of the same parent: a control paints
// only what no sibling above it covers.
constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

// A visible child control of a standard class in the GUI font.
HWND CreateChild(const wchar_t* cls, DWORD style, HWND parent, const std::wstring& text, int id,
                 DWORD exStyle = 0);
// The text of any window.
std::wstring WindowText(HWND hwnd);
// Moves a control within its parent without repainting it: for laying out
// a panel's controls before the panel shows.
void Place(HWND control, int x, int y, int width, int height);
// Runs an event handler that the owner may have left unset.
void RunIfSet(const std::function<void()>& handler);

// A push button whose click runs onClick.
class Button : public Control {
public:
    std::function<void()> onClick;
    // A push button unless style says otherwise (a check box, a toggle).
    bool Create(HWND parent, const std::wstring& caption, int id, DWORD style = BS_PUSHBUTTON);
    void SetCaption(const std::wstring& caption);
    std::wstring Caption() const;
    void Enable(bool enabled);
    bool OnCommand(int code) override;
};

// A line of text.
class Label : public Control {
public:
    bool Create(HWND parent, const std::wstring& text = L"", int id = 0);
    void SetText(const std::wstring& text);
    std::wstring Text() const;
};

} // namespace torvik::app
