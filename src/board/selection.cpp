// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Click handling and the finishing step of a removal.
#include "board/selection.h"

#include "board/path.h"
#include "board/stage.h"

namespace rules {

namespace {
constexpr std::int64_t removal_delay_us = 100000;
}  // namespace

ClickOutcome click_cell(int x, int y) {
    RulesState& r = rules_state();
    ClickOutcome outcome;
    outcome.cell = {x, y};
    if (!on_grid(x, y) || !r.board.occupied(x, y)) return outcome;
    if (r.removal_pending == 0) r.no_selection = r.no_selection == 0 ? 1 : 0;

    if (r.no_selection == 0) {
        r.selected_cell = outcome.cell;
        outcome.result = ClickResult::selected;
        return outcome;
    }

    outcome.partner = r.selected_cell;
    const Cell selected = outcome.partner;
    if (outcome.cell == selected) {
        outcome.result = ClickResult::deselected;
    } else if (r.board.at(selected.column, selected.row) == r.board.at(x, y) &&
               find_path(selected.column, selected.row, x, y) == 1) {
        r.board.at(selected.column, selected.row) = empty_cell;
        r.board.at(x, y) = empty_cell;
        r.removal_pending = 1;
        r.removal_timer.restart();
        outcome.result = ClickResult::removed;
        outcome.path = {r.path_corner1, r.path_corner2};
    } else {
        outcome.result = ClickResult::refused;
    }
    return outcome;
}

bool removal_due() {
    RulesState& r = rules_state();
    return r.removal_pending != 0 && r.removal_timer.elapsed_us() > removal_delay_us;
}

std::int64_t removal_due_at() {
    const RulesState& r = rules_state();
    return r.removal_pending != 0 ? r.removal_timer.due_at(removal_delay_us, false) : never_due;
}

void finish_removal(bool full_game) {
    RulesState& r = rules_state();
    r.removal_pending = 0;
    r.tiles_left -= 2;
    if (full_game) {
        shift_board();
        r.score += 10;
    }
}

}  // namespace rules
