// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's one random source: a linear congruential generator shared by the
// deals, the reshuffle, the menu animation and the bells, so all of them draw from
// one sequence. state = state * 214013 + 2531011 (mod 2^32); a draw is bits 16..30.
#pragma once

#include <cstdint>

void seed_random(std::uint32_t seed);
std::uint32_t random_state();
// The next value 0..32767.
std::int32_t random_draw();
// A draw taken modulo n; n must be positive.
std::int32_t random_below(std::int32_t n);
