// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game's state as one line of JSON, for the headless shell: the rules' counters
// and board, the flow's state and input, the music, the score table, and what the
// recording desktop and audio saw since the previous dump. Taking it changes nothing
// the game can see.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "menu/windowmenu.h"

namespace app {

// How far the recorded effects, message boxes and opened files have been reported.
struct DumpCursor {
    std::size_t effects = 0;
    std::size_t boxes = 0;
    std::size_t opened = 0;
};

// The state as a JSON object on one line (no line end); moves the cursor past the
// events it reports. Texts are given as UTF-8.
std::string state_json(DumpCursor& cursor);

// The name of a game state ("PLAY"), or its number as text for a number no state has.
std::string state_name(int game_state);

// The menus by the names scripts and the dump give them, in the dump's order.
struct NamedMenu {
    std::string_view name;
    windowmenu* menu;
};
std::array<NamedMenu, 6> named_menus();

// The centre of item index's rectangle in client pixels: where a click chooses it.
struct Point {
    int x = 0;
    int y = 0;
};
Point item_centre(windowmenu& menu, std::int32_t index);

}  // namespace app
