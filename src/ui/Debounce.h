#pragma once
#include <chrono>
#include <functional>

namespace torvik {

// A timer that fires once after being started; starting it again while it
// runs starts the delay over. The window code backs it with a window timer,
// tests with a fake they tick by hand.
class OneShotTimer {
public:
    virtual ~OneShotTimer() = default;
    virtual void Start(std::chrono::milliseconds delay) = 0;
    virtual void Stop() = 0;
};

// Runs an action once the changes stop: each change restarts the delay, so
// a burst of key presses costs one run, delay after the last of them.
class Debounce {
public:
    Debounce(OneShotTimer& timer, std::chrono::milliseconds delay, std::function<void()> action)
        : timer_(timer), delay_(delay), action_(std::move(action)) {}

    // A change: the action runs delay from now, not earlier.
    void Restart();
    // The timer's tick: stops the timer and runs the action, once per burst
    // of changes (a late tick after Cancel or a run does nothing).
    void Elapsed();
    void Cancel();
    bool Pending() const { return pending_; }
    std::chrono::milliseconds Delay() const { return delay_; }

private:
    OneShotTimer& timer_;
    std::chrono::milliseconds delay_;
    std::function<void()> action_;
    bool pending_ = false;
};

} // namespace torvik
