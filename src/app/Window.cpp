#include "app/Window.h"

#include <atomic>

#include "common/Error.h"

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

namespace {
constexpr wchar_t kControlProperty[] = L"TorvikControl";
} // namespace

Control::~Control() {
    if (hwnd_ != nullptr && ::IsWindow(hwnd_)) {
        ::RemovePropW(hwnd_, kControlProperty);
    }
}

void Control::Attach(HWND hwnd) {
    hwnd_ = hwnd;
    ::SetPropW(hwnd, kControlProperty, this);
}

Control* Control::Of(HWND hwnd) {
    return hwnd != nullptr ? static_cast<Control*>(::GetPropW(hwnd, kControlProperty)) : nullptr;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: {
        const auto control = reinterpret_cast<HWND>(lParam);
        const int code = HIWORD(wParam);
        Control* owner = Control::Of(control);
        if ((owner != nullptr && owner->OnCommand(code)) ||
            OnCommand(LOWORD(wParam), code, control)) {
            return 0;
        }
        break;
    }
    case WM_NOTIFY: {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (Control* owner = Control::Of(header.hwndFrom)) {
            if (const auto result = owner->OnNotify(header)) {
                return *result;
            }
        }
        if (const auto result = OnNotify(header)) {
            return *result;
        }
        break;
    }
    case WM_DRAWITEM: {
        auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        Control* owner = item.CtlType != ODT_MENU ? Control::Of(item.hwndItem) : nullptr;
        if (owner != nullptr && owner->OnDrawItem(item)) {
            return TRUE;
        }
        break;
    }
    case WM_TIMER:
        if (OnTimer(wParam)) {
            return 0;
        }
        break;
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    default:
        break;
    }
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
    } catch (...) {
        ReportError(CurrentExceptionText());
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

namespace {

// The error box carries the crash dialog's caption, never the main window's
// title: a second copy looks for that title and must find the main window.
void ShowErrorBox(const std::wstring& text) {
    ::MessageBoxW(nullptr, text.c_str(), L"TorvikExcept", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

std::atomic<ErrorSink> errorSink{ShowErrorBox};

} // namespace

void ReportError(const std::wstring& text) {
    errorSink.load()(text);
}

ErrorSink SetErrorSink(ErrorSink sink) {
    return errorSink.exchange(sink != nullptr ? sink : ShowErrorBox);
}

} // namespace torvik::app
