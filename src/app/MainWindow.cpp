#include "app/MainWindow.h"

#include "inventory/SingleInstance.h"

namespace torvik::app {

bool MainWindow::Create() {
    // The caption stays empty until the first show, so that a second
    // instance started meanwhile is turned away by the mutex, not activated.
    return Window::Create(L"TFormMain", WS_OVERLAPPEDWINDOW, WS_EX_APPWINDOW, L"", CW_USEDEFAULT,
                          CW_USEDEFAULT, 900, 600, nullptr);
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        status_ = ::CreateWindowExW(0, L"STATIC", L"No programs listed yet.",
                                    WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0, Handle(), nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(status_, WM_SETFONT,
                       reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        return 0;
    case WM_SHOWWINDOW:
        if (wParam != 0) {
            FormShow();
        }
        break;
    case WM_SIZE:
        Layout();
        return 0;
    case kWmShowSelf:
        WM_ShowSelf();
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

void MainWindow::FormShow() {
    if (shownOnce_) {
        return;
    }
    shownOnce_ = true;
    ::SetWindowTextW(Handle(), title_.c_str());
}

void MainWindow::WM_ShowSelf() {
    ::ShowWindow(Handle(), SW_SHOW);
    desktop_.ForceForegroundWindow(reinterpret_cast<WindowHandle>(Handle()));
}

void MainWindow::Layout() {
    RECT r{};
    ::GetClientRect(Handle(), &r);
    ::MoveWindow(status_, 12, 12, r.right - 24, 20, TRUE);
}

} // namespace torvik::app
