#include <gtest/gtest.h>

#include "ui/Debounce.h"

namespace torvik {
namespace {

using namespace std::chrono_literals;

class FakeTimer : public OneShotTimer {
public:
    void Start(std::chrono::milliseconds delay) override {
        ++starts;
        running = true;
        this->delay = delay;
    }
    void Stop() override { running = false; }
    int starts = 0;
    bool running = false;
    std::chrono::milliseconds delay{};
};

struct DebounceTest : ::testing::Test {
    FakeTimer timer;
    int runs = 0;
    Debounce debounce{timer, 400ms, [this] { ++runs; }};
};

TEST_F(DebounceTest, EachChangeRestartsTheDelayAndABurstRunsOnce) {
    for (int key = 0; key < 3; ++key) {
        debounce.Restart();
    }
    EXPECT_EQ(timer.starts, 3);
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.delay, 400ms);
    EXPECT_EQ(runs, 0);

    debounce.Elapsed();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(timer.running);
    EXPECT_FALSE(debounce.Pending());
    debounce.Elapsed(); // a tick already queued when the timer stopped
    EXPECT_EQ(runs, 1);

    debounce.Restart();
    debounce.Elapsed();
    EXPECT_EQ(runs, 2);
}

TEST_F(DebounceTest, CancelStopsThePendingRun) {
    debounce.Restart();
    debounce.Cancel();
    EXPECT_FALSE(timer.running);
    debounce.Elapsed();
    EXPECT_EQ(runs, 0);
}

TEST(Debounce, AChangeMadeByTheActionRunsItAgainLater) {
    FakeTimer timer;
    int runs = 0;
    Debounce* self = nullptr;
    Debounce debounce(timer, 10ms, [&] {
        if (++runs == 1) {
            self->Restart();
        }
    });
    self = &debounce;
    debounce.Restart();
    debounce.Elapsed();
    EXPECT_TRUE(timer.running);
    EXPECT_TRUE(debounce.Pending());
    debounce.Elapsed();
    EXPECT_EQ(runs, 2);
    EXPECT_FALSE(timer.running);
}

} // namespace
} // namespace torvik
