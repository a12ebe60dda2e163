// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Play on the board as the player meets it: the rules' selection and removal steps
// turned into outlines, the removal path, repaints, the window title and the effects.
#pragma once

#include "platform/raster.h"
#include "platform/window.h"

namespace flow {

// Draws the closed outline one pixel inside the cell with the pen selected into context.
void outline_cell(platform::DrawContext& context, int column, int row);

// A click on cell (x, y): a selected tile is outlined in green, 2 pixels; a deselected
// one is drawn plainly; a removal sounds DELETE_OK and draws its path in violet,
// 8 pixels, through the cell centres; a refusal draws the dropped tile plainly (when
// it is still on the board) and sounds DELETE_NO.
void click_board_cell(platform::Window& window, int x, int y);

// The finishing step of a due removal, then the reshuffle while no pair is open (it
// sounds RESHUFFLE once before the first pass); repaints the state and sets the title.
void finish_board_removal(platform::Window& window, bool full_game);

// Sets the window title to the base text and the open-pair count of the board.
void show_board_title();

// Outlines the hint pair's two cells in red, 2 pixels; draws nothing when no pair is open.
void show_hint(platform::Window& window);

}  // namespace flow
