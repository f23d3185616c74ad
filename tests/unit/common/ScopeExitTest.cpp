#include <gtest/gtest.h>

#include <stdexcept>

#include "common/ScopeExit.h"

namespace torvik {
namespace {

TEST(ScopeExit, RunsOnceWhenTheScopeEndsNormallyOrByAnException) {
    int runs = 0;
    {
        const ScopeExit cleanup([&] { ++runs; });
    }
    EXPECT_EQ(runs, 1);
    try {
        const ScopeExit cleanup([&] { ++runs; });
        throw std::runtime_error("step failed");
    } catch (const std::runtime_error&) {
        EXPECT_EQ(runs, 2);
    }
    EXPECT_EQ(runs, 2);
}

} // namespace
} // namespace torvik
