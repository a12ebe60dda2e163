// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The score screen's table rows and the name-entry screen: how the rows are laid
// out, what the name-entry screen shows, and the editing rules of the name that the
// game flow runs every frame of name entry.
#pragma once

#include <cstdint>
#include <functional>

#include "base/string.h"
#include "platform/raster.h"
#include "platform/window.h"

// A name being typed holds at most this many characters (the table keeps 10).
constexpr std::int32_t typed_name_limit = 13;

// The first copy of every text on these screens, and the second one a little lower.
constexpr platform::Colour score_text_colour = platform::rgb(0, 0, 0);
constexpr platform::Colour score_text_second_colour = platform::rgb(255, 128, 128);

// The 20-character row of an entry: the name (nothing for a score of 0), spaces, and
// the score ending at the 20th character; a longer pair runs on without a space.
String score_row_text(const String& name, std::int32_t score);

// The distance between table rows: the screen height / 23, but never so much that
// the ninth row falls below a client area of client_height.
int score_row_step(int screen_height, int client_height);

// The texts of the name-entry screen over whatever is painted: the prompt and the
// name with its cursor, in Courier New of text_width by cell_height - 6.
void draw_name_entry(platform::Window& window, const String& player_name, int text_width,
                     int cell_height);

// One frame of name entry, in this order: every typed character is taken out of
// typed_chars and appended to the name unless it is a space or the name is full
// (repaint after each one taken); backspace (last_control_char 8) is cleared and
// removes the last character (repaint when it did); Enter (13) puts the name into
// the score table with score. Returns true on Enter: the game flow then clears the
// pending clicks and moves to the score screen.
bool run_name_entry(String& player_name, String& typed_chars, std::uint32_t& last_control_char,
                    std::int32_t score, const std::function<void()>& repaint);
