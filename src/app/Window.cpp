#include "app/Window.h"

#include <exception>

#include "common/Error.h"
#include "common/Utf8.h"

namespace torvik::app {

Window::~Window() {
    if (hwnd_ != nullptr) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

bool Window::Create(const wchar_t* className, DWORD style, DWORD exStyle, const std::wstring& title,
                    int x, int y, int width, int height, HWND parent) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!::GetClassInfoExW(instance, className, &wc)) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = StaticWndProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
        wc.lpszClassName = className;
        ::RegisterClassExW(&wc);
    }
    return ::CreateWindowExW(exStyle, className, title.c_str(), style, x, y, width, height, parent,
                             nullptr, instance, this) != nullptr;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK Window::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<Window*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    try {
        if (msg == WM_NCDESTROY) {
            const LRESULT result = self->HandleMessage(msg, wParam, lParam);
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            self->OnDestroyed();
            return result;
        }
        return self->HandleMessage(msg, wParam, lParam);
    } catch (const TorvikError& e) {
        ReportError(e.Message());
    } catch (const std::exception& e) {
        ReportError(Utf8ToString(e.what()));
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void ReportError(const std::wstring& text) {
    ::MessageBoxW(nullptr, text.c_str(), L"Torvik Updater", MB_OK | MB_ICONERROR);
}

} // namespace torvik::app
