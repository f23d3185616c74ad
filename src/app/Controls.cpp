#include "app/Controls.h"

namespace torvik::app {

HWND CreateChild(const wchar_t* cls, DWORD style, HWND parent, const std::wstring& text, int id,
                 DWORD exStyle) {
    const HWND hwnd = ::CreateWindowExW(exStyle, cls, text.c_str(), kChildStyle | style, 0, 0, 0, 0,
                                        parent, reinterpret_cast<HMENU>(INT_PTR{id}),
                                        ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd != nullptr) {
        ::SendMessageW(hwnd, WM_SETFONT,
                       reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    }
    return hwnd;
}

void Place(HWND control, int x, int y, int width, int height) {
    ::MoveWindow(control, x, y, width, height, FALSE);
}

void RunIfSet(const std::function<void()>& handler) {
    if (handler) {
        handler();
    }
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool Button::Create(HWND parent, const std::wstring& caption, int id, DWORD style) {
    const HWND hwnd = CreateChild(L"BUTTON", WS_TABSTOP | style, parent, caption, id);
    if (hwnd != nullptr) {
        Attach(hwnd);
    }
    return hwnd != nullptr;
}

void Button::SetCaption(const std::wstring& caption) {
    ::SetWindowTextW(Handle(), caption.c_str());
}

std::wstring Button::Caption() const {
    return WindowText(Handle());
}

void Button::Enable(bool enabled) {
    ::EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

bool Button::OnCommand(int code) {
    if (code != BN_CLICKED || !onClick) {
        return false;
    }
    onClick();
    return true;
}

bool Label::Create(HWND parent, const std::wstring& text, int id) {
    const HWND hwnd = CreateChild(L"STATIC", SS_LEFT | SS_NOPREFIX, parent, text, id);
    if (hwnd != nullptr) {
        Attach(hwnd);
    }
    return hwnd != nullptr;
}

void Label::SetText(const std::wstring& text) {
    ::SetWindowTextW(Handle(), text.c_str());
}

std::wstring Label::Text() const {
    return WindowText(Handle());
}

} // namespace torvik::app
