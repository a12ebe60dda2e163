// Timer on the virtual clock: truncation toward zero and the thresholds callers use.
#include "base/timer.h"

#include <gtest/gtest.h>

#include "platform/clock.h"

namespace {

class TimerTest : public testing::Test {
  protected:
    void SetUp() override { platform::set_clock(&clock_); }
    void TearDown() override { platform::set_clock(nullptr); }
    platform::VirtualClock clock_;
};

TEST_F(TimerTest, StartsAtZero) {
    Timer t;
    EXPECT_EQ(t.elapsed_us(), 0);
    clock_.advance_us(5);
    t.restart();
    EXPECT_EQ(t.elapsed_us(), 0);
}

TEST_F(TimerTest, TruncatesTowardZero) {
    Timer t;
    clock_.advance_ticks(1'000'009);  // 100000.9 us
    EXPECT_EQ(t.elapsed_us(), 100000);
    EXPECT_FALSE(static_cast<double>(t.elapsed_us()) > 100000.0);
    clock_.advance_ticks(1);  // 100001.0 us
    EXPECT_TRUE(static_cast<double>(t.elapsed_us()) > 100000.0);
}

TEST_F(TimerTest, ExactThresholdsHoldForManySteps) {
    // Whole microseconds must read back exactly, however long the run.
    Timer t;
    for (std::int64_t us : {1LL, 99'999LL, 100'000LL, 1'000'000LL, 3'600'000'000LL}) {
        t.restart();
        clock_.advance_us(us);
        EXPECT_EQ(t.elapsed_us(), us);
    }
}

TEST_F(TimerTest, KeepsRunningWhileUnread) {
    Timer t;
    clock_.advance_ms(7000);
    EXPECT_EQ(t.elapsed_us(), 7'000'000);
    EXPECT_EQ(tick_scale, 0.1);
}

TEST(SteadyClock, ElapsedIsNeverNegative) {
    Timer t;
    EXPECT_GE(t.elapsed_us(), 0);
}

}  // namespace
