#pragma once
#include <string>

#include "platform/Processes.h"

namespace torvik {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Top-level windows of the desktop: finding, messaging and activating them.
class Desktop {
public:
    virtual ~Desktop() = default;
    // A top-level window whose title equals title (FindWindowW, no class).
    virtual WindowHandle FindTopLevelWindow(const std::wstring& title) const = 0;
    // SendMessageW: waits until the window's thread has handled it.
    virtual void SendMessageTo(WindowHandle window, unsigned message) = 0;
    virtual bool ForceForegroundWindow(WindowHandle window) = 0;

    virtual WindowHandle ForegroundWindow() const = 0;
    virtual Rect WindowRect(WindowHandle window) const = 0;
    virtual std::wstring WindowClassName(WindowHandle window) const = 0;
    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;
};

// The machine-wide named mutex of the single-instance check.
class NamedMutexes {
public:
    virtual ~NamedMutexes() = default;
    // OpenMutexW: whether a mutex of that name exists already.
    virtual bool Exists(const std::wstring& name) const = 0;
    // CreateMutexW, not initially owned; the handle lives until the process ends.
    virtual bool Create(const std::wstring& name) = 0;
};

} // namespace torvik
