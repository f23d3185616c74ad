#pragma once
#include <cstdint>
#include <optional>

#include "platform/TimeZone.h"

namespace torvik::testing {

// A time zone at a fixed offset from UTC; fails every conversion when told.
class FakeTimeZone : public TimeZone {
public:
    int64_t offsetSeconds = 0;
    bool fail = false;

    std::optional<uint64_t> ToLocalFileTime(uint64_t utc) const override {
        if (fail) {
            return std::nullopt;
        }
        return utc + static_cast<uint64_t>(offsetSeconds * 10000000);
    }
};

} // namespace torvik::testing
