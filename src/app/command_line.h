// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What both shells read from the command line: whole numbers within bounds, and the
// one usage text that names every option.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/locale.h"

namespace app {

// Both ways to start the program, with every option.
inline constexpr const char* usage =
    "usage: vorpy [--language ru|en] [--seed N] [--scale N]\n"
    "       vorpy --headless [--language ru|en] [--seed N] [--screen-height H] "
    "[--date YYYY-MM-DD] [--max-frames N] [--no-screenshots] [--pace every-ms|due] "
    "[--script FILE]";

// A whole decimal number within [min, max], or nothing.
std::optional<std::int64_t> parse_number(std::string_view text, std::int64_t min, std::int64_t max);

// The language the game speaks: the one --language names among the arguments, else the
// locale's. A value --language does not know is left to the shells' own readers to refuse.
platform::Language chosen_language(std::span<const std::string_view> args,
                                   const platform::LocaleVariables& locale);

}  // namespace app
