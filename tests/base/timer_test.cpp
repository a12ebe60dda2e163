// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
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

// due_at names the very tick on which each caller's comparison first holds: one tick
// earlier it does not, so a loop that sleeps until then acts neither late nor early.
TEST_F(TimerTest, DueAtIsTheFirstTickOnWhichTheThresholdPasses) {
    struct Case {
        const char* what;
        std::int64_t threshold_us;
        bool inclusive;
        std::int64_t started_after_us;
    };
    const Case cases[] = {
        {"removal, more than 0.1 s", 100'000, false, 0},
        {"score drain, at least 1 s", 1'000'000, true, 0},
        {"bells with interval 0, one whole microsecond", 0, false, 3},
        {"bells, 4.9 s", 4'900'000, false, 12'345},
        {"after a clock that ran for days", 100'000, false, 400'000'000'000LL},
    };
    for (const Case& c : cases) {
        clock_.advance_us(c.started_after_us);
        Timer t;
        const std::int64_t due = t.due_at(c.threshold_us, c.inclusive);
        const auto passes = [&] {
            const std::int64_t us = t.elapsed_us();
            return c.inclusive ? us >= c.threshold_us : us > c.threshold_us;
        };
        clock_.advance_ticks(due - 1 - clock_.counter());
        EXPECT_FALSE(passes()) << c.what << ": already passes a tick before its due time";
        clock_.advance_ticks(1);
        EXPECT_TRUE(passes()) << c.what << ": does not pass at its due time";
    }
}

TEST(SteadyClock, ElapsedIsNeverNegative) {
    Timer t;
    EXPECT_GE(t.elapsed_us(), 0);
}

}  // namespace
