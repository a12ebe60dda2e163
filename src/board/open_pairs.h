// Open pairs: how many pairs could be removed now, the hint pair among them, the
// window title that tells the count, the hint outlines, and the reshuffle that runs
// whenever no pair is left.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/string.h"
#include "board/board.h"
#include "platform/window.h"

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
// count with its Russian noun form up to 20, and a fixed text above 20.
String title_suffix(std::int32_t n);
String title_for(const String& base, std::int32_t n);
// Sets the window title to title_text followed by the suffix for the current count.
void update_title(platform::Window& window);

// Outlines the hint pair's two cells in red, 2 pixels; draws nothing when no pair is open.
void show_hint(platform::Window& window);

// While no pair is open and tiles remain, rearranges the kinds among the occupied
// cells, and in the full game (shift true) applies the stage's board shift after each
// pass. The RESHUFFLE effect sounds once before the first pass. A scratch list that
// cannot be allocated ends the program through fatal_error and leaves the board as it was.
void reshuffle_board(bool shift);

// Where the reshuffle takes its scratch list from: std::malloc unless replaced (tests
// replace it to see the failure path). Released with std::free.
using ScratchAllocator = void* (*)(std::size_t bytes);
extern ScratchAllocator reshuffle_allocator;

}  // namespace rules
