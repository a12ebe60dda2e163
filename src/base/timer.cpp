// Timer over platform::clock().
#include "base/timer.h"

#include "platform/clock.h"

double tick_scale = 1.0;

Timer::Timer() {
    tick_scale = 1000000.0 / static_cast<double>(platform::clock().frequency());
    started_ = platform::clock().counter();
}

void Timer::restart() {
    started_ = platform::clock().counter();
}

std::int64_t Timer::elapsed_us() {
    last_reading_ = platform::clock().counter();
    return static_cast<std::int64_t>(static_cast<double>(last_reading_ - started_) * tick_scale);
}
