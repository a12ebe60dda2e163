// Selecting and removing pairs: a first click outlines a tile, a second click on a
// tile of the same kind that a path reaches empties both cells at once and draws the
// path; a tenth of a second later the finishing step counts them off, shifts the
// board, scores, reshuffles if needed and repaints.
#pragma once

#include "platform/window.h"

namespace rules {

// How the rules reach the screen drawing, which belongs to the game flow. A null hook
// draws nothing. reset_board_state() leaves the hooks as they are.
struct BoardScreen {
    // Draws the tile of an occupied cell plainly, over any outline.
    void (*draw_tile)(platform::Window& window, int column, int row) = nullptr;
    // Repaints the whole screen of the current game state.
    void (*redraw_state)(platform::Window& window) = nullptr;
};
BoardScreen& board_screen();

// A click on cell (x, y). Empty cells and cells off the grid are ignored. A first
// click selects the tile and outlines it in green. A second click on the selected
// tile deselects it; on a tile of the same kind joined by a path it removes both
// (DELETE_OK, the path drawn in violet through the cell centres, removal pending);
// otherwise it drops the selection (DELETE_NO). While a removal is pending every
// click on a tile is refused with DELETE_NO and changes nothing.
void click_cell(platform::Window& window, int x, int y);

// Whether the pending removal is due: pending, and more than 100000 us since the click.
bool removal_due();

// Completes the pending removal: tiles_left drops by 2; in the full game the board
// shifts by its mode and 10 points are added; reshuffles while no pair is open;
// repaints and updates the title.
void finish_removal(platform::Window& window, bool full_game);

}  // namespace rules
