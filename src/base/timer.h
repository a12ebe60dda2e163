// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Timer: a stopwatch in whole microseconds over the platform's high-resolution
// counter. Each timed activity owns one, reads it every frame against its own
// threshold, and restarts it when it acts.
#pragma once

#include <cstdint>
#include <limits>

// Due times are readings of the platform counter. A frame whose work is due at or
// before the counter's present reading has something to do now.
constexpr std::int64_t due_now = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t never_due = std::numeric_limits<std::int64_t>::max();

class Timer {
  public:
    Timer();  // starts counting
    void restart();
    // Microseconds since the start or last restart, truncated toward zero.
    std::int64_t elapsed_us();
    // The counter reading from which elapsed_us() first reads more than threshold_us,
    // or at least threshold_us when inclusive: when an activity with that threshold acts.
    std::int64_t due_at(std::int64_t threshold_us, bool inclusive) const;

  private:
    std::int64_t started_ = 0;
    std::int64_t last_reading_ = 0;
};

// Microseconds per counter tick, shared by all timers; every Timer start sets it anew.
extern double tick_scale;
