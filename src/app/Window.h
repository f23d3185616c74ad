#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace torvik::app {

// A child control with an object of its own: its parent window routes the
// control's notifications (WM_COMMAND, WM_NOTIFY) to that object first, so
// that a list view answers its own display requests instead of the main
// window growing a case per control. The object must outlive its control or
// be destroyed first (it then stops receiving them).
class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND Handle() const { return hwnd_; }
    // The object attached to a control window, or nullptr.
    static Control* Of(HWND hwnd);

    // Handlers of the control's own notifications; true (or a result) when
    // handled, so that the parent does not see them.
    virtual bool OnCommand(int /*code*/) { return false; }
    virtual std::optional<LRESULT> OnNotify(NMHDR& /*header*/) { return std::nullopt; }
    // An owner-drawn control paints its items when its parent is asked to
    // (WM_DRAWITEM); true when it did.
    virtual bool OnDrawItem(DRAWITEMSTRUCT& /*item*/) { return false; }

protected:
    // Binds the object to a created control window.
    void Attach(HWND hwnd);

private:
    HWND hwnd_ = nullptr;
};

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
    // The default routes the common messages to the typed handlers below
    // (notifications to their control first, item drawing to its control
    // only) and the rest to DefWindowProc.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void OnDestroyed() {}
    // Typed handlers: true (or a result) when handled.
    virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
    virtual std::optional<LRESULT> OnNotify(NMHDR& /*header*/) { return std::nullopt; }
    virtual bool OnTimer(UINT_PTR /*id*/) { return false; }
    virtual void OnSize(int /*width*/, int /*height*/) {}

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
