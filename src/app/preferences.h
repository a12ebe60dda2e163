// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The player's preferences kept between runs: whether the game is silenced (M) and in
// full screen (F11), in a small key=value file beside the data, or in the player's
// preferences folder when the game is installed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace app {

struct Preferences {
    bool muted = false;
    bool full_screen = false;
    bool operator==(const Preferences&) const = default;
};

// The file's name in its folder (platform::config_path).
inline constexpr std::string_view preferences_file = "preferences.cfg";
// A preferences file is a few dozen bytes; one far larger is not read.
inline constexpr std::size_t max_preferences_bytes = 4096;

// The preferences a file's text gives: each key whose line says 1 is on; everything else,
// lines of no known form and other values included, leaves its default.
Preferences parse_preferences(std::string_view text);
// The file's text for the preferences.
std::string preferences_text(const Preferences& preferences);

// The preferences in the file; the defaults when there is none or it cannot be read.
Preferences read_preferences();
// Writes the file through the safe replace, making its folder when it is missing.
// Returns 0, or the errno value of what failed.
int write_preferences(const Preferences& preferences);

// The game's own state: the music's silence and the desktop's full screen.
Preferences current_preferences();
// At start-up: puts the game into the file's preferences and remembers what it got.
void restore_preferences();
// After each pass of the loop: writes the file when the game's state differs from what
// was last restored or written. A failed write is not repeated until the next change.
void keep_preferences();

}  // namespace app
