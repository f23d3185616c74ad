#pragma once
#include <utility>

namespace torvik {

// Runs a cleanup when the scope ends, also when it ends by an exception.
// The cleanup must not throw.
template <typename F> class ScopeExit {
public:
    explicit ScopeExit(F f) : f_(std::move(f)) {}
    ~ScopeExit() { f_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F f_;
};

} // namespace torvik
