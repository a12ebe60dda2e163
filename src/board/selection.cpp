// Click handling, the selection outline, the removal path and the finishing step.
#include "board/selection.h"

#include "board/board.h"
#include "board/open_pairs.h"
#include "board/path.h"
#include "board/stage.h"
#include "graphics/drawing.h"
#include "sound/effects.h"

namespace rules {

namespace {

constexpr std::int64_t removal_delay_us = 100000;

void draw_plain(platform::Window& window, Cell cell) {
    // A refused click while a removal is pending points at an emptied cell: nothing to draw.
    if (!board.occupied(cell.column, cell.row)) return;
    if (board_screen().draw_tile != nullptr) {
        board_screen().draw_tile(window, cell.column, cell.row);
    }
}

void draw_removal_path(platform::Window& window, Cell clicked, Cell selected) {
    Pen pen(&window.dc(), platform::PS_SOLID, 8, platform::rgb(128, 0, 255));
    platform::DrawContext& dc = window.dc();
    platform::move_to(dc, cell_center_x(clicked.column), cell_center_y(clicked.row));
    for (const Cell& c : {path_corner1, path_corner2, selected}) {
        platform::line_to(dc, cell_center_x(c.column), cell_center_y(c.row));
    }
}

}  // namespace

BoardScreen& board_screen() {
    static BoardScreen screen;
    return screen;
}

void click_cell(platform::Window& window, int x, int y) {
    if (!on_grid(x, y) || !board.occupied(x, y)) return;
    if (removal_pending == 0) no_selection = no_selection == 0 ? 1 : 0;

    const Cell clicked{x, y};
    if (no_selection == 0) {
        selected_cell = clicked;
        Pen pen(&window.dc(), platform::PS_SOLID, 2, platform::rgb(0, 255, 0));
        outline_cell(window.dc(), x, y);
        return;
    }

    const Cell selected = selected_cell;
    if (clicked == selected) {
        draw_plain(window, selected);
        return;
    }
    if (board.at(selected.column, selected.row) == board.at(x, y) &&
        find_path(selected.column, selected.row, x, y) == 1) {
        board.at(selected.column, selected.row) = empty_cell;
        board.at(x, y) = empty_cell;
        play_effect(Effect::DELETE_OK);
        removal_pending = 1;
        removal_timer.restart();
        draw_removal_path(window, clicked, selected);
        return;
    }
    draw_plain(window, selected);
    play_effect(Effect::DELETE_NO);
}

bool removal_due() {
    return removal_pending != 0 && removal_timer.elapsed_us() > removal_delay_us;
}

void finish_removal(platform::Window& window, bool full_game) {
    removal_pending = 0;
    tiles_left -= 2;
    if (full_game) {
        shift_board();
        score += 10;
    }
    reshuffle_board(full_game);
    if (board_screen().redraw_state != nullptr) board_screen().redraw_state(window);
    update_title(window);
}

}  // namespace rules
