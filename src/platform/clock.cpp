// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The steady clock and the choice of clock.
#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace platform {

std::int64_t SteadyClock::counter() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() / 100;
}

std::uint32_t SteadyClock::tick_count() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

LocalDate SteadyClock::today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_mday, local.tm_mon};
}

namespace {
Clock* current_clock = nullptr;
}

Clock& clock() {
    static SteadyClock steady;
    return current_clock != nullptr ? *current_clock : steady;
}

void set_clock(Clock* c) {
    current_clock = c;
}

}  // namespace platform
