#include "app/NumericEdit.h"

#include "app/Controls.h"

#include "ui/NumberText.h"

namespace torvik::app {

bool NumericEdit::Create(HWND parent, int id) {
    const HWND hwnd =
        CreateChild(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, parent, L"0", id, WS_EX_CLIENTEDGE);
    if (hwnd == nullptr) {
        return false;
    }
    Attach(hwnd);
    accepted_ = L"0";
    return true;
}

std::wstring NumericEdit::Text() const {
    return WindowText(Handle());
}

double NumericEdit::Value() const {
    return NumberOrZero(Text());
}

void NumericEdit::SetValue(double value) {
    accepted_ = NumberText(value);
    ::SetWindowTextW(Handle(), accepted_.c_str());
}

bool NumericEdit::OnCommand(int code) {
    if (code != EN_CHANGE) {
        return false;
    }
    std::wstring text = Text();
    if (IsTypedNumber(text)) {
        accepted_ = std::move(text);
        return false; // the parent may want to know of the change too
    }
    // The caret stood after what was typed; it goes back by as much.
    DWORD caret = 0;
    ::SendMessageW(Handle(), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    const size_t added = text.size() > accepted_.size() ? text.size() - accepted_.size() : 0;
    const DWORD restored = caret > added ? static_cast<DWORD>(caret - added) : 0;
    ::SetWindowTextW(Handle(), accepted_.c_str());
    ::SendMessageW(Handle(), EM_SETSEL, restored, restored);
    ::MessageBeep(MB_OK);
    return true;
}

} // namespace torvik::app
