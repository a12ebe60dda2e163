// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Timer over platform::clock().
#include "base/timer.h"

#include "platform/clock.h"

double tick_scale = 1.0;

namespace {
// elapsed_us() for a difference of ticks.
std::int64_t us_of_ticks(std::int64_t ticks) {
    return static_cast<std::int64_t>(static_cast<double>(ticks) * tick_scale);
}
}  // namespace

Timer::Timer() {
    tick_scale = 1000000.0 / static_cast<double>(platform::clock().frequency());
    started_ = platform::clock().counter();
}

void Timer::restart() {
    started_ = platform::clock().counter();
}

std::int64_t Timer::elapsed_us() {
    last_reading_ = platform::clock().counter();
    return us_of_ticks(last_reading_ - started_);
}

std::int64_t Timer::due_at(std::int64_t threshold_us, bool inclusive) const {
    const std::int64_t target = inclusive ? threshold_us : threshold_us + 1;
    if (target <= 0) return started_;
    // A first guess from the scale, then stepped to the exact first tick on which the
    // truncated reading reaches the target, so no due time is a tick late or early.
    auto ticks = static_cast<std::int64_t>(static_cast<double>(target) / tick_scale);
    while (ticks > 0 && us_of_ticks(ticks - 1) >= target)
        --ticks;
    while (us_of_ticks(ticks) < target)
        ++ticks;
    return started_ + ticks;
}
