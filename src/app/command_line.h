// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What both shells read from the command line: whole numbers within bounds, and the
// one usage text that names every option.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace app {

// Both ways to start the program, with every option.
inline constexpr const char* usage =
    "usage: vorpy [--seed N] [--scale N]\n"
    "       vorpy --headless [--seed N] [--screen-height H] [--date YYYY-MM-DD] "
    "[--max-frames N] [--no-screenshots] [--pace every-ms|due] [--script FILE]";

// A whole decimal number within [min, max], or nothing.
std::optional<std::int64_t> parse_number(std::string_view text, std::int64_t min, std::int64_t max);

}  // namespace app
