// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The board cursor: where the arrow keys put it, and its frame drawn over the pixels
// it keeps.
#include "flow/board_cursor.h"

#include <algorithm>

#include "board/board.h"
#include "flow/flow.h"

namespace flow {

namespace {

// The first occupied playing cell row by row; the top-left cell of an empty board.
rules::Cell top_left_tile() {
    const rules::Board& board = rules::rules_state().board;
    for (int row = rules::first_row; row <= rules::last_row; ++row)
        for (int column = rules::first_column; column <= rules::last_column; ++column)
            if (board.occupied(column, row)) return {column, row};
    return {rules::first_column, rules::first_row};
}

// Four corner brackets, inset pixels inside the cell, thickness pixels thick.
void draw_brackets(platform::DrawContext& context, int left, int top, int width, int height,
                   int inset, int thickness, int arm, platform::Colour colour) {
    const int l = left + inset, t = top + inset;
    const int r = left + width - inset, b = top + height - inset;
    const struct {
        int x, y, dx, dy;
    } corners[] = {{l, t, 1, 1}, {r, t, -1, 1}, {l, b, 1, -1}, {r, b, -1, -1}};
    for (const auto& c : corners) {
        const int x_end = c.x + c.dx * arm, y_end = c.y + c.dy * arm;
        const int x_in = c.x + c.dx * thickness, y_in = c.y + c.dy * thickness;
        platform::fill_rect(context, std::min(c.x, x_end), std::min(c.y, y_in),
                            std::max(c.x, x_end), std::max(c.y, y_in), colour);
        platform::fill_rect(context, std::min(c.x, x_in), std::min(c.y, y_end), std::max(c.x, x_in),
                            std::max(c.y, y_end), colour);
    }
}

// Yellow corner brackets edged in black, so they show on the pale plate and on dark
// faces alike; three pixels inside the cell, clear of the selection and hint outlines
// along its edge, and unlike any of them.
void draw_frame(platform::DrawContext& context, int left, int top, int width, int height) {
    const int arm = std::min(width, height) / 3;
    draw_brackets(context, left, top, width, height, 3, 5, arm + 1, cursor_black);
    draw_brackets(context, left, top, width, height, 4, 3, arm, cursor_yellow);
}

}  // namespace

void steer_cursor(platform::Window& window, std::uint32_t key) {
    BoardCursor& cursor = flow_state().cursor;
    erase_cursor(window);
    if (cursor.visible == 0) {
        const rules::Cell start = top_left_tile();
        cursor.column = start.column;
        cursor.row = start.row;
        cursor.visible = 1;
    } else {
        const int dx = key == platform::VK_LEFT ? -1 : key == platform::VK_RIGHT ? 1 : 0;
        const int dy = key == platform::VK_UP ? -1 : key == platform::VK_DOWN ? 1 : 0;
        cursor.column = std::clamp(cursor.column + dx, rules::first_column, rules::last_column);
        cursor.row = std::clamp(cursor.row + dy, rules::first_row, rules::last_row);
    }
    paint_cursor(window);
}

void erase_cursor(platform::Window& window) {
    BoardCursor& cursor = flow_state().cursor;
    if (cursor.drawn == 0) return;
    const rules::RulesState& r = rules::rules_state();
    cursor.under->draw_to_window(window, cursor.column * r.cell_width, cursor.row * r.cell_height,
                                 platform::SRCCOPY);
    cursor.drawn = 0;
}

void paint_cursor(platform::Window& window) {
    BoardCursor& cursor = flow_state().cursor;
    if (cursor.visible == 0 || cursor.drawn != 0) return;
    const rules::RulesState& r = rules::rules_state();
    if (r.cell_width <= 0 || r.cell_height <= 0) return;
    const int left = cursor.column * r.cell_width, top = cursor.row * r.cell_height;
    if (!cursor.under) cursor.under = std::make_unique<Picture>();
    cursor.under->capture_window(window, left, top, r.cell_width, r.cell_height, platform::SRCCOPY);
    draw_frame(window.dc(), left, top, r.cell_width, r.cell_height);
    cursor.drawn = 1;
}

void hide_cursor(platform::Window& window) {
    erase_cursor(window);
    flow_state().cursor.visible = 0;
}

void forget_cursor_pixels() {
    flow_state().cursor.drawn = 0;
}

void reset_cursor() {
    BoardCursor& cursor = flow_state().cursor;
    cursor.visible = 0;
    cursor.drawn = 0;
}

}  // namespace flow
