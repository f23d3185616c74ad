#include "app/FileEdit.h"

#include <commdlg.h>

#include <vector>

namespace torvik::app {

std::optional<std::wstring> ChooseFileToOpen(HWND owner, const std::wstring& current) {
    // The longest path the wide functions take.
    std::vector<wchar_t> path(32768, L'\0');
    if (current.size() < path.size()) {
        current.copy(path.data(), current.size());
    }
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"All files (*.*)\0*.*\0";
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&dialog)) {
        return std::nullopt;
    }
    return std::wstring(path.data());
}

bool FileEdit::Create(HWND parent, int id) {
    const HWND hwnd =
        CreateChild(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, parent, L"", id, WS_EX_CLIENTEDGE);
    if (hwnd == nullptr) {
        return false;
    }
    Attach(hwnd);
    if (!browse_.Create(parent, L"...", id + 1)) {
        return false;
    }
    browse_.onClick = [this] { Browse(); };
    return true;
}

void FileEdit::Move(int x, int y, int width, int height) {
    const int button = height;
    ::MoveWindow(Handle(), x, y, width > button + 2 ? width - button - 2 : 0, height, TRUE);
    ::MoveWindow(browse_.Handle(), x + width - button, y, button, height, TRUE);
}

std::wstring FileEdit::Text() const {
    return WindowText(Handle());
}

void FileEdit::SetText(const std::wstring& text) {
    ::SetWindowTextW(Handle(), text.c_str());
}

void FileEdit::Browse() {
    if (!chooseFile) {
        return;
    }
    if (const auto path = chooseFile(::GetParent(Handle()), Text())) {
        SetText(*path);
    }
}

} // namespace torvik::app
