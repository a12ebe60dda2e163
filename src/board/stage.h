// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Stages of the full game: the mode that moves the tiles after every removal, the
// deal of a stage or training exercise, and every rule that changes the score.
#pragma once

#include <cstdint>

#include "board/board.h"

namespace rules {

// Moves the interior's tiles by mode; the ring is empty again afterwards.
//   0, 1  nothing
//   2, 3  every column's tiles slide up / down, keeping their order
//   4, 5  every row's tiles slide left / right, keeping their order
//   6, 7  the whole interior turns up / down by one row (the edge row wraps over)
//   8, 9  the whole interior turns left / right by one column
void shift_board(Board& b, int mode);
// The same on the program's board by board_mode.
void shift_board();

// A new game: score 0, stage bonus 300, mode 0 (so the first stage runs in mode 1).
void begin_new_game();
// A stage starts: the bonus is added, and lowered by 50 while above 100; the mode
// moves on, 9 being followed by 1.
void begin_stage();
// Deals full boards until a pair is open.
void deal_stage_board();
// Deals training boards of the level until a pair is open.
void deal_training_exercise(int level);
// A stage is cleared: 1000 points when it ran in mode 9.
void clear_stage();
// Charges whole seconds of play: taken off a positive score, which never falls below 0.
void charge_time(std::int64_t seconds);
// A hint taken in the full game: the score pays hint_cost, never falling below 0,
// and the next hint costs 10 more.
void charge_hint();

}  // namespace rules
