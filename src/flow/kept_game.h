// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A full game set aside to be played on later: what of it is kept, the file "game.sav"
// beside the score file that holds it, and the steps that keep, drop and resume it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "board/board.h"
#include "platform/window.h"

namespace flow {

// The game file, a game path beside "score.sco".
inline constexpr const char* kept_game_file = "game.sav";

struct KeptGame {
    rules::Board board;
    std::int32_t tiles_left = 0;
    std::int32_t score = 0;
    std::int32_t stage_bonus = 0;
    std::int32_t board_mode = 0;
    // The stage's background by its file name in res, "" for none.
    std::string background;
    // 1 when the stage was cleared and the player stood in the pause menu before the
    // next one; 0 in play.
    std::int32_t stage_cleared = 0;
    bool operator==(const KeptGame&) const = default;
};

// Limits of what a kept game may hold.
inline constexpr std::int32_t max_kept_score = 1'000'000'000;
inline constexpr std::size_t max_background_name_bytes = 255;

// The file's bytes: a heading line, one "key value" line per number, the background's
// name, and the board as 11 rows of 18 cells.
std::string kept_game_bytes(const KeptGame& game);
// The game the bytes hold, or nothing when they are not such a file or hold a game
// that cannot be: kinds out of range, tiles in the ring, a kind an odd number of
// times or more than four, a count that is not the board's, a cleared stage with
// tiles, values out of their ranges, a name that is no bare file name.
std::optional<KeptGame> parse_kept_game(std::string_view bytes);

// Reads the player's game file, if there is a sound one, into the flow's state.
void load_kept_game();
// Keeps the running full game in the game file and the flow's state: a removal still
// pending is finished first, as the next frame would. The main menu then offers it.
void keep_game();
// keep_game() when the program is ended from outside: only while a full game runs
// (play, the hint prompt, the pause menu, between two stages).
void keep_game_at_exit();
// The kept game ends or is replaced: its file goes.
void drop_kept_game();
// Puts the kept game back on the board over its background and opens the pause menu.
void resume_kept_game(platform::Window& window);

}  // namespace flow
