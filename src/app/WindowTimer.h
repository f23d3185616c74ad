#pragma once
#include <windows.h>

#include "ui/Debounce.h"

namespace torvik::app {

// A one-shot timer on a window: its WM_TIMER (with this id) goes to the
// window's procedure, which hands it on. Killed with the object.
class WindowTimer : public OneShotTimer {
public:
    explicit WindowTimer(UINT_PTR id) : id_(id) {}
    ~WindowTimer() override { Stop(); }
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    // The window the timer runs on; until then Start does nothing.
    void Attach(HWND window) { window_ = window; }
    UINT_PTR Id() const { return id_; }

    void Start(std::chrono::milliseconds delay) override {
        if (window_ != nullptr) {
            ::SetTimer(window_, id_, static_cast<UINT>(delay.count()), nullptr);
        }
    }
    void Stop() override {
        if (window_ != nullptr) {
            ::KillTimer(window_, id_);
        }
    }

private:
    UINT_PTR id_;
    HWND window_ = nullptr;
};

} // namespace torvik::app
