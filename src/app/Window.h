#pragma once
#include <windows.h>

#include <string>

namespace torvik::app {

// Base of every window: the static window procedure binds the object at
// WM_NCCREATE and forwards each message to HandleMessage. No exception of any
// kind leaves a window procedure: one that escapes a handler goes to
// ReportError.
class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }

protected:
    // Registers the class once per process and creates the window.
    bool Create(const wchar_t* className, DWORD style, DWORD exStyle, const std::wstring& title,
                int x, int y, int width, int height, HWND parent);
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void OnDestroyed() {}

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

// The application's error handling: shows an unexpected failure to the user
// and the program goes on. Any thread may call it.
void ReportError(const std::wstring& text);

// Where ReportError sends its text (by default a modal error box). Returns
// the previous sink; nullptr puts the default back. For tests.
using ErrorSink = void (*)(const std::wstring& text);
ErrorSink SetErrorSink(ErrorSink sink);

} // namespace torvik::app
