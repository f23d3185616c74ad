#pragma once

namespace torvik {

class Clock {
public:
    virtual ~Clock() = default;
    // Local date and time as days since 1899-12-30.
    virtual double Now() const = 0;
};

} // namespace torvik
