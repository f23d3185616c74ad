#pragma once
#include <windows.h>

#include <vector>

#include "app/Window.h"

namespace torvik::wintest {

// A top-level window with a client area of the size asked for, that notes
// the notifications its children leave to it.
class TestHost : public app::Window {
public:
    bool Create(int clientWidth, int clientHeight) {
        RECT r{0, 0, clientWidth, clientHeight};
        ::AdjustWindowRectEx(&r, kStyle, FALSE, 0);
        return Window::Create(L"TorvikTestHost", kStyle, 0, L"host", 20, 20, r.right - r.left,
                              r.bottom - r.top, nullptr);
    }
    // Whether a control's notification reached this window.
    bool Received(int id, int code) const {
        for (const auto& c : commands_) {
            if (c.id == id && c.code == code) {
                return true;
            }
        }
        return false;
    }

protected:
    bool OnCommand(int id, int code, HWND) override {
        commands_.push_back({id, code});
        return true;
    }

private:
    struct Command {
        int id, code;
    };
    std::vector<Command> commands_;
    static constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
};

// Where a child window lies in its parent's client area.
inline RECT RectInParent(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Steps from the top of its siblings' z-order: 0 is in front of all.
inline int DepthAmongSiblings(HWND hwnd) {
    int depth = 0;
    for (HWND above = ::GetWindow(hwnd, GW_HWNDPREV); above != nullptr;
         above = ::GetWindow(above, GW_HWNDPREV)) {
        ++depth;
    }
    return depth;
}

inline bool HasVisibleStyle(HWND hwnd) {
    return (::GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

} // namespace torvik::wintest
