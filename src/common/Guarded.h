#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>

namespace torvik {

// A value reachable only under its own lock: every access is a function run
// while the lock is held, so no caller can forget the lock or keep it past
// the function. Results are returned by value; a function that hands out a
// reference or pointer into the value takes on the proof that what it
// points to outlives the lock (see ProgramIconCache).
template <typename T> class Guarded {
public:
    template <typename... Args>
    explicit Guarded(Args&&... args) : value_(std::forward<Args>(args)...) {}
    Guarded(const Guarded&) = delete;
    Guarded& operator=(const Guarded&) = delete;

    template <typename F> auto With(F&& f) {
        const std::lock_guard lock(mutex_);
        return std::forward<F>(f)(value_);
    }
    template <typename F> auto With(F&& f) const {
        const std::lock_guard lock(mutex_);
        return std::forward<F>(f)(value_);
    }

    // Waits up to timeout for changed to be notified with ready(value) true;
    // whether ready held at the end. Whoever changes the value so that ready
    // may hold notifies changed after With returned.
    template <typename Ready>
    bool WaitFor(std::condition_variable& changed, std::chrono::milliseconds timeout,
                 Ready&& ready) const {
        std::unique_lock lock(mutex_);
        return changed.wait_for(lock, timeout, [&] { return ready(std::as_const(value_)); });
    }

private:
    mutable std::mutex mutex_;
    T value_;
};

} // namespace torvik
