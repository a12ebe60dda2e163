// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The shared linear congruential generator.
#include "base/random.h"

namespace {
std::uint32_t state = 0;
}

void seed_random(std::uint32_t seed) {
    state = seed;
}

std::uint32_t random_state() {
    return state;
}

std::int32_t random_draw() {
    state = state * 214013u + 2531011u;
    return static_cast<std::int32_t>((state >> 16) & 0x7FFF);
}

std::int32_t random_below(std::int32_t n) {
    return random_draw() % n;
}
