#pragma once
#include <cstdint>
#include <optional>

namespace torvik {

// The computer's time zone, for file times.
class TimeZone {
public:
    virtual ~TimeZone() = default;
    // A FILETIME (100 ns ticks since 1601-01-01 UTC) converted to local time
    // as FileTimeToLocalFileTime does; nullopt when it cannot be converted.
    virtual std::optional<uint64_t> ToLocalFileTime(uint64_t utcFileTime) const = 0;
};

} // namespace torvik
