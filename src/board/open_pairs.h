// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Open pairs: how many pairs could be removed now, the hint pair among them, the
// window title text that tells the count, and the reshuffle that runs whenever no
// pair is left.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/string.h"
#include "board/board.h"

namespace rules {

// The number of unordered open pairs among the interior's tiles. Scans first cells
// column by column (columns 1..16, rows 1..9 within each), and for each the cells of
// the same kind in the same order, the first cell as target and the second as start.
// hint ends as the last open ordered pair found and keeps its value when none is;
// corners as the last search left them.
std::int32_t count_open_pairs(const Board& b, HintPair& hint, PathCorners& corners);
std::int32_t count_open_pairs(const Board& b, HintPair& hint);
// The same on the program's board, writing hint_pair, path_corner1 and path_corner2.
std::int32_t count_open_pairs();

// What follows the base title for n open pairs (Windows-1251): nothing for 0, the
// count with the noun's form for it up to 20 (Russian's three, English's singular and
// plural), and a fixed text above 20.
String title_suffix(std::int32_t n, Language in);
String title_for(const String& base, std::int32_t n, Language in);
// The window title for the program's board: title_text followed by the suffix for the
// current count in the language in use (which leaves hint_pair and the path corners as
// count_open_pairs() does).
String board_title();

// Whether a reshuffle is due: no pair is open and tiles remain. The caller announces
// the reshuffle on this, before it runs.
bool reshuffle_due();
// While no pair is open and tiles remain, rearranges the kinds among the occupied
// cells, and in the full game (shift true) applies the stage's board shift after each
// pass. A scratch list that cannot be allocated ends the program through fatal_error
// and leaves the board as it was.
void reshuffle_board(bool shift);

// Where the reshuffle takes its scratch list from: std::malloc unless replaced (tests
// replace it to see the failure path). Released with std::free.
using ScratchAllocator = void* (*)(std::size_t bytes);
extern ScratchAllocator reshuffle_allocator;

}  // namespace rules
