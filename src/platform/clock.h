// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Time as the game reads it: a high-resolution counter with its frequency, the
// millisecond tick count and the local date, from the real steady clock or from a
// virtual clock that tests and the headless shell advance by hand.
#pragma once

#include <cstdint>

namespace platform {

struct LocalDate {
    int day = 1;          // day of the month, 1..31
    int month_index = 0;  // 0 = January .. 11 = December
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::int64_t counter() = 0;      // ticks of the high-resolution counter
    virtual std::int64_t frequency() = 0;    // counter ticks per second
    virtual std::uint32_t tick_count() = 0;  // milliseconds, wrapping at 2^32
    virtual LocalDate today() = 0;
};

class SteadyClock : public Clock {
  public:
    std::int64_t counter() override;
    std::int64_t frequency() override { return 10'000'000; }
    std::uint32_t tick_count() override;
    LocalDate today() override;
};

// Moves only when told. Its counter runs at 10 MHz, so a tenth of a microsecond can be set.
class VirtualClock : public Clock {
  public:
    std::int64_t counter() override { return ticks_; }
    std::int64_t frequency() override { return 10'000'000; }
    std::uint32_t tick_count() override {
        return static_cast<std::uint32_t>(tick_base_ + ticks_ / 10'000);
    }
    LocalDate today() override { return date_; }

    void advance_ticks(std::int64_t ticks) { ticks_ += ticks; }
    void advance_us(std::int64_t us) { ticks_ += us * 10; }
    void advance_ms(std::int64_t ms) { ticks_ += ms * 10'000; }
    void set_date(LocalDate date) { date_ = date; }
    void set_tick_base(std::uint32_t ms) { tick_base_ = ms; }

  private:
    std::int64_t ticks_ = 0;
    std::uint32_t tick_base_ = 0;
    LocalDate date_{2, 0};
};

// The clock in use; the steady clock until set_clock installs another.
Clock& clock();
void set_clock(Clock* clock);  // null puts the steady clock back

}  // namespace platform
