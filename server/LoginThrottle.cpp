#include "server/LoginThrottle.h"

namespace torvik::server {
namespace {

// Past this many names, every name's old failures are swept out, so that
// guesses at many names cannot grow the map without end.
constexpr size_t kSweepAbove = 10000;

} // namespace

LoginThrottle::LoginThrottle(Limits limits, Clock clock)
    : limits_(limits), clock_(std::move(clock)) {}

bool LoginThrottle::Blocked(const std::string& nameKey) {
    const std::lock_guard lock(mutex_);
    const auto it = failures_.find(nameKey);
    if (it == failures_.end()) {
        return false;
    }
    Forget(it->second, clock_());
    if (it->second.empty()) {
        failures_.erase(it);
        return false;
    }
    return it->second.size() >= limits_.failures;
}

void LoginThrottle::Failed(const std::string& nameKey) {
    const std::lock_guard lock(mutex_);
    const auto now = clock_();
    if (failures_.size() > kSweepAbove) {
        for (auto it = failures_.begin(); it != failures_.end();) {
            Forget(it->second, now);
            it = it->second.empty() ? failures_.erase(it) : std::next(it);
        }
    }
    failures_[nameKey].push_back(now);
}

void LoginThrottle::Succeeded(const std::string& nameKey) {
    const std::lock_guard lock(mutex_);
    failures_.erase(nameKey);
}

void LoginThrottle::Forget(std::deque<std::chrono::steady_clock::time_point>& times,
                           std::chrono::steady_clock::time_point now) const {
    while (!times.empty() && now - times.front() >= limits_.window) {
        times.pop_front();
    }
}

} // namespace torvik::server
