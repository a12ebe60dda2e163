// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Outcomes of the board rules turned into drawing, the window title and sound.
#include "flow/board_play.h"

#include <string_view>

#include "board/board.h"
#include "board/open_pairs.h"
#include "board/selection.h"
#include "flow/board_view.h"
#include "flow/flow.h"
#include "graphics/drawing.h"
#include "platform/desktop.h"
#include "sound/effects.h"

namespace flow {

namespace {

constexpr platform::Colour selection_green = platform::rgb(0, 255, 0);
constexpr platform::Colour path_violet = platform::rgb(128, 0, 255);
constexpr platform::Colour hint_red = platform::rgb(255, 0, 0);

// A refused click while a removal is pending points at an emptied cell: nothing to draw.
void draw_plain(platform::Window& window, rules::Cell cell) {
    if (!rules::rules_state().board.occupied(cell.column, cell.row)) return;
    draw_tile(window, cell.column, cell.row);
}

void draw_removal_path(platform::Window& window, const rules::ClickOutcome& outcome) {
    Pen pen(&window.dc(), platform::PS_SOLID, 8, path_violet);
    platform::DrawContext& dc = window.dc();
    platform::move_to(dc, rules::cell_center_x(outcome.cell.column),
                      rules::cell_center_y(outcome.cell.row));
    for (const rules::Cell& c : {outcome.path.first, outcome.path.second, outcome.partner}) {
        platform::line_to(dc, rules::cell_center_x(c.column), rules::cell_center_y(c.row));
    }
}

}  // namespace

void outline_cell(platform::DrawContext& context, int column, int row) {
    const rules::RulesState& r = rules::rules_state();
    const int left = column * r.cell_width + 1, right = column * r.cell_width + r.cell_width - 1;
    const int top = row * r.cell_height + 1, bottom = row * r.cell_height + r.cell_height - 1;
    platform::move_to(context, left, top);
    platform::line_to(context, right, top);
    platform::line_to(context, right, bottom);
    platform::line_to(context, left, bottom);
    platform::line_to(context, left, top);
}

namespace {

void draw_click_outcome(platform::Window& window, int x, int y,
                        const rules::ClickOutcome& outcome) {
    switch (outcome.result) {
        case rules::ClickResult::ignored:
            break;
        case rules::ClickResult::selected: {
            Pen pen(&window.dc(), platform::PS_SOLID, 2, selection_green);
            outline_cell(window.dc(), x, y);
            break;
        }
        case rules::ClickResult::deselected:
            draw_plain(window, outcome.cell);
            break;
        case rules::ClickResult::removed:
            play_effect(Effect::DELETE_OK);
            draw_removal_path(window, outcome);
            break;
        case rules::ClickResult::refused:
            draw_plain(window, outcome.partner);
            play_effect(Effect::DELETE_NO);
            break;
    }
}

}  // namespace

void click_board_cell(platform::Window& window, int x, int y) {
    // The cell may be drawn anew under the cursor: its frame comes off first.
    erase_cursor(window);
    draw_click_outcome(window, x, y, rules::click_cell(x, y));
    paint_cursor(window);
}

void finish_board_removal(platform::Window& window, bool full_game) {
    rules::finish_removal(full_game);
    if (rules::reshuffle_due()) play_effect(Effect::RESHUFFLE);
    rules::reshuffle_board(full_game);
    redraw_state(window);
    show_board_title();
}

void show_board_title() {
    const String title = rules::board_title();
    platform::desktop().set_window_title(std::string_view(title.c_str(), title.length()));
}

void show_hint(platform::Window& window) {
    if (rules::count_open_pairs() == 0) return;
    const rules::HintPair& hint = rules::rules_state().hint_pair;
    erase_cursor(window);
    {
        Pen pen(&window.dc(), platform::PS_SOLID, 2, hint_red);
        outline_cell(window.dc(), hint.first.column, hint.first.row);
        outline_cell(window.dc(), hint.second.column, hint.second.row);
    }
    paint_cursor(window);
}

}  // namespace flow
