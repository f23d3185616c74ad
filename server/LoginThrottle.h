#pragma once
#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

namespace torvik::server {

// Failed logins per account name, so that a password cannot be guessed at
// the service's speed. After `failures` failed logins of a name within
// `window`, that name is blocked: its logins fail unchecked until fewer than
// `failures` of its failures lie within the last `window`. Attempts while
// blocked do not count, so the block ends `window` after the failure that
// began it. Unknown names are counted like accounts, so that a block tells
// nothing of whether the account exists. Kept in memory: a restart of the
// service forgets it. Safe to use from several threads.
class LoginThrottle {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    struct Limits {
        size_t failures = 5;
        std::chrono::seconds window{600};
    };

    LoginThrottle(Limits limits, Clock clock);

    // Whether logins of the name key are blocked now.
    bool Blocked(const std::string& nameKey);
    void Failed(const std::string& nameKey);
    // A successful login forgets the name's failures.
    void Succeeded(const std::string& nameKey);

private:
    // Drops the failures older than the window; the caller holds mutex_.
    void Forget(std::deque<std::chrono::steady_clock::time_point>& times,
                std::chrono::steady_clock::time_point now) const;

    Limits limits_;
    Clock clock_;
    std::mutex mutex_;
    std::unordered_map<std::string, std::deque<std::chrono::steady_clock::time_point>> failures_;
};

} // namespace torvik::server
