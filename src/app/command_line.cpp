// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading numbers and the language from the command line and the script.
#include "app/command_line.h"

#include <charconv>

namespace app {

std::optional<std::int64_t> parse_number(std::string_view text, std::int64_t min,
                                         std::int64_t max) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < min || value > max)
        return std::nullopt;
    return value;
}

platform::Language chosen_language(std::span<const std::string_view> args,
                                   const platform::LocaleVariables& locale) {
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "--language")
            if (const auto named = platform::language_named(args[i + 1])) return *named;
    return platform::language_of_locale(locale);
}

}  // namespace app
