#pragma once
#include <windows.h>

#include <string>

namespace torvik::app {

// Base of every window: the static window procedure binds the object at
// WM_NCCREATE and forwards each message to HandleMessage. No exception leaves
// a window procedure: one that escapes a handler goes to ReportError.
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

// Shows an unexpected failure to the user; the program goes on.
void ReportError(const std::wstring& text);

} // namespace torvik::app
