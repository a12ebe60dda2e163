// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard's cursor on the board: black-edged yellow corner brackets over one of
// the 16 x 9 playing cells, moved by the arrow keys. The pixels under the frame are
// kept while it is drawn, so taking it away puts the cell back exactly.
#pragma once

#include <cstdint>
#include <memory>

#include "graphics/picture.h"
#include "platform/desktop.h"
#include "platform/window.h"

namespace flow {

struct BoardCursor {
    std::int32_t column = 0;
    std::int32_t row = 0;
    std::int32_t visible = 0;  // shown on the board screens while the player steers by keys
    std::int32_t drawn = 0;    // the frame is on the window and `under` holds the cell
    std::unique_ptr<Picture> under;
};

constexpr platform::Colour cursor_yellow = platform::rgb(255, 255, 0);
constexpr platform::Colour cursor_black = platform::rgb(0, 0, 0);

// An arrow key: the first one of a stage shows the cursor on the top-left tile (the
// first occupied cell row by row), later ones move it a cell, stopping at the edges
// of the playing cells.
void steer_cursor(platform::Window& window, std::uint32_t key);
// Takes the frame off the window, putting the cell back; the cursor stays where it is.
void erase_cursor(platform::Window& window);
// Draws the frame when the cursor is shown and not drawn yet.
void paint_cursor(platform::Window& window);
// Hides the cursor (the mouse moved): the frame comes off the window.
void hide_cursor(platform::Window& window);
// The window was repainted under the frame: there is nothing to put back.
void forget_cursor_pixels();
// A new board: hidden until the next arrow key.
void reset_cursor();

}  // namespace flow
