#include "app/ContainerWindow.h"

#include <commctrl.h>

#include <cwchar>

namespace torvik::app {
namespace {

// The focus notification of the standard controls that send one without
// being asked (a button sends BN_SETFOCUS only with BS_NOTIFY).
bool IsFocusNotification(HWND control, int code) {
    wchar_t cls[32] = {};
    ::GetClassNameW(control, cls, 32);
    return (_wcsicmp(cls, L"Edit") == 0 && code == EN_SETFOCUS) ||
           (_wcsicmp(cls, L"ListBox") == 0 && code == LBN_SETFOCUS) ||
           (_wcsicmp(cls, L"ComboBox") == 0 && code == CBN_SETFOCUS);
}

} // namespace

void ForwardCommand(HWND from, int id, int code, HWND control) {
    ::SendMessageW(::GetParent(from), WM_COMMAND, MAKEWPARAM(id, code),
                   reinterpret_cast<LPARAM>(control));
}

LRESULT ForwardNotify(HWND from, NMHDR& header) {
    return ::SendMessageW(::GetParent(from), WM_NOTIFY, header.idFrom,
                          reinterpret_cast<LPARAM>(&header));
}

bool ContainerWindow::Create(HWND parent, const wchar_t* className, HBRUSH background) {
    background_ = background;
    return Window::Create(className, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                          WS_EX_CONTROLPARENT, L"", 0, 0, 0, 0, parent);
}

LRESULT ContainerWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(Handle(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, background_);
        return 1;
    }
    // Labels take the container's background instead of the dialog colour.
    case WM_CTLCOLORSTATIC: {
        LOGBRUSH brush{};
        ::GetObjectW(background_, sizeof brush, &brush);
        ::SetBkColor(reinterpret_cast<HDC>(wParam), brush.lbColor);
        return reinterpret_cast<LRESULT>(background_);
    }
    case WM_SETFOCUS:
    case WM_LBUTTONDOWN:
        if (onChildFocus) {
            onChildFocus();
        }
        break;
    case WM_COMMAND:
        if (onChildFocus && IsFocusNotification(reinterpret_cast<HWND>(lParam), HIWORD(wParam))) {
            onChildFocus();
        }
        break;
    case WM_NOTIFY:
        if (onChildFocus && reinterpret_cast<NMHDR*>(lParam)->code == NM_SETFOCUS) {
            onChildFocus();
        }
        break;
    default:
        break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

bool ContainerWindow::OnCommand(int id, int code, HWND control) {
    ForwardCommand(Handle(), id, code, control);
    return true;
}

std::optional<LRESULT> ContainerWindow::OnNotify(NMHDR& header) {
    return ForwardNotify(Handle(), header);
}

} // namespace torvik::app
