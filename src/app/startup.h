// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's entry, in steps both shells share: the global objects prepared in
// their fixed order, the window's outer size and centred position, and the start-up
// initialisation that leaves the game in its main menu.
#pragma once

#include <cstdint>
#include <optional>

#include "app/preferences.h"
#include "platform/window.h"

namespace app {

// What the shell keeps besides the flow's input: the loop's activity counter, the
// board's pixel size, where the window goes, and how the loop ended.
struct AppState {
    // Lets the loop run one more frame after the window became inactive.
    std::int32_t activity_count = 1;
    // The client size: the tile atlas scaled to 18 x 11 cells.
    std::int32_t board_pixel_width = 0;
    std::int32_t board_pixel_height = 0;
    // Top left of the outer window, centred on the screen.
    std::int32_t window_x = 0;
    std::int32_t window_y = 0;
    // Calls of run_frame so far.
    std::uint64_t frame_count = 0;
    bool loop_ended = false;
    int exit_code = 0;
    // The preferences as last restored or written; a change from them is written.
    Preferences kept_preferences;
};

AppState& app_state();
void reset_app_state();

// Every subsystem's state back to what it is when the process starts, for a game run
// again in the same process: the flow, the rules, the menus, the pictures, the music,
// the score table, the stage backgrounds, the shell's own state, the data folders, the
// random source, the fatal-error path, the message queue, a noted end from outside, and the
// recording desktop and audio in place of any other. What is decoded from the data folder may stay
// (platform/kept_data.h), and so do the fonts.
void reset_game_state();

// Loads what the global objects load when they are made, in their order: the tile
// atlas (and from it the board's pixel size), the score table, the screen pictures;
// then starts the removal timer.
void prepare_globals();

// The outer size (client plus the fixed frame) into the flow's window_width and
// window_height, and the position centring it on a screen of the given size.
void place_window(int screen_width, int screen_height);

// Gives the window its client area and title.
void create_window(platform::Window& window);

// Runs with the window in place: the April-1st notice, the random seed (the tick count
// unless one is given), the atlas cut into faces and masks, the menu backdrop, the
// six menus, the main menu state, the identity check of the main menu file and the
// player's kept preferences.
void start_up(platform::Window& window, std::optional<std::uint32_t> seed);

// All of the above in order, for a shell whose window needs nothing of its own.
void open_game(platform::Window& window, std::optional<std::uint32_t> seed);

// Releases what the run holds once the loop has ended.
void close_game();

}  // namespace app
