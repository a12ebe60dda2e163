// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Selecting and removing pairs: a first click selects a tile, a second click on a
// tile of the same kind that a path reaches empties both cells at once; a tenth of a
// second later the finishing step counts them off, shifts the board and scores. Each
// step says what happened; drawing, the title and the sounds are the caller's.
#pragma once

#include <cstdint>

#include "board/board.h"

namespace rules {

// What a click on the board did.
enum class ClickResult {
    ignored,     // an empty cell or one off the grid: nothing changed
    selected,    // cell is now the selected tile
    deselected,  // the selected tile, cell, was clicked again and is selected no more
    removed,     // cell and partner were emptied; path joins them; the removal is pending
    refused,     // no pair: the selection, partner, is dropped (or a removal is pending)
};

struct ClickOutcome {
    ClickResult result = ClickResult::ignored;
    Cell cell;         // the clicked cell
    Cell partner;      // the tile selected before the click (removed, refused)
    PathCorners path;  // removed: the turning cells from cell to partner
};

// A click on cell (x, y). Empty cells and cells off the grid are ignored. A first
// click selects the tile. A second click on the selected tile deselects it; on a tile
// of the same kind joined by a path it removes both and the removal is pending;
// otherwise it drops the selection. While a removal is pending every click on a tile
// is refused and changes nothing.
ClickOutcome click_cell(int x, int y);

// Whether the pending removal is due: pending, and more than 100000 us since the click.
bool removal_due();
// The counter reading at which removal_due() turns true; never_due while none is pending.
std::int64_t removal_due_at();

// Completes the pending removal: tiles_left drops by 2; in the full game the board
// shifts by its mode and 10 points are added. The reshuffle that may follow is the
// caller's (reshuffle_due, reshuffle_board), after it.
void finish_removal(bool full_game);

}  // namespace rules
