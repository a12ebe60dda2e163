// Timer: a stopwatch in whole microseconds over the platform's high-resolution
// counter. Each timed activity owns one, reads it every frame against its own
// threshold, and restarts it when it acts.
#pragma once

#include <cstdint>

class Timer {
  public:
    Timer();  // starts counting
    void restart();
    // Microseconds since the start or last restart, truncated toward zero.
    std::int64_t elapsed_us();

  private:
    std::int64_t started_ = 0;
    std::int64_t last_reading_ = 0;
};

// Microseconds per counter tick, shared by all timers; every Timer start sets it anew.
extern double tick_scale;
