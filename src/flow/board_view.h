// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the board: the tile atlas cut into faces and masks, the background piece
// kept under every cell, tiles composed off-screen over their piece and the plate,
// and the flickering border of random faces on the menu screens.
#pragma once

#include <array>
#include <memory>
#include <optional>

#include "base/timer.h"
#include "graphics/drawing.h"
#include "graphics/picture.h"
#include "platform/window.h"

namespace flow {

constexpr int atlas_columns = 12;
constexpr int atlas_rows = 6;

using CellPictures = std::array<std::array<Picture, 11>, 18>;  // [column][row]

// The pictures and scratch surfaces of the board drawing.
struct BoardPictures {
    std::array<Picture, 36> tile_faces;
    std::array<Picture, 36> tile_masks;
    CellPictures game_backdrop_cells;  // refilled at every deal
    CellPictures menu_backdrop_cells;  // filled once at start-up from "menu\menu"
    std::unique_ptr<Surface> tile_scratch;
    std::unique_ptr<Surface> anim_scratch;
    std::optional<Timer> anim_timer;  // made on the first frame of a menu
};

BoardPictures& board_pictures();
// Drops every picture and surface, as at program start.
void reset_board_pictures();

// Cuts the 36 faces (left half, kinds down each column) and masks (right half) from
// a context holding the atlas.
void cut_atlas(const platform::DrawContext& atlas);
// Copies the window contents under every cell into cells.
void capture_cells(platform::Window& window, CellPictures& cells);
// The same just after picture was drawn at the window's top left: where it covers the
// whole window, the cells kept from it (platform/kept_data.h) are shared instead.
void capture_cells_under(platform::Window& window, const Picture& picture, CellPictures& cells);
// Composes the tile of an occupied cell: backdrop piece, plate, mask OR, face AND,
// then one copy a pixel wider and higher than the cell.
void draw_tile(platform::Window& window, int column, int row);
void draw_empty_cell(platform::Window& window, int column, int row);
// Every cell, column by column and top to bottom within a column.
void draw_board(platform::Window& window);
// Every 0.1 s, random faces (no plate) on the menu backdrop in columns 1 and 16 of
// rows 2..8; nothing at all while the window title's base text is empty.
void animate_menu_border(platform::Window& window);
// The counter reading at which animate_menu_border next draws; never_due when it never does.
std::int64_t menu_animation_due_at();

}  // namespace flow
