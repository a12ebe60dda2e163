// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Board shifts by stage mode, stage deals and the score rules.
#include "board/stage.h"

#include "board/open_pairs.h"

namespace rules {

namespace {

// Sliding: each interior cell is visited once, from the side the tiles leave towards
// the side they gather at; an empty cell pulls the whole line beyond it one step in,
// the ring cell at the far end supplying the -1.
void slide_up(Board& b) {
    for (int x = first_column; x <= last_column; ++x) {
        for (int y = last_row; y >= first_row; --y) {
            if (b.occupied(x, y)) continue;
            for (int k = y; k <= last_row; ++k)
                b.at(x, k) = b.at(x, k + 1);
        }
    }
}

void slide_down(Board& b) {
    for (int x = first_column; x <= last_column; ++x) {
        for (int y = first_row; y <= last_row; ++y) {
            if (b.occupied(x, y)) continue;
            for (int k = y; k >= first_row; --k)
                b.at(x, k) = b.at(x, k - 1);
        }
    }
}

void slide_left(Board& b) {
    for (int y = first_row; y <= last_row; ++y) {
        for (int x = last_column; x >= first_column; --x) {
            if (b.occupied(x, y)) continue;
            for (int k = x; k <= last_column; ++k)
                b.at(k, y) = b.at(k + 1, y);
        }
    }
}

void slide_right(Board& b) {
    for (int y = first_row; y <= last_row; ++y) {
        for (int x = first_column; x <= last_column; ++x) {
            if (b.occupied(x, y)) continue;
            for (int k = x; k >= first_column; --k)
                b.at(k, y) = b.at(k - 1, y);
        }
    }
}

// Turning: the line that wraps over is first parked in the ring line beyond the far
// side, every line then takes its neighbour's contents, and the ring line is emptied.
void copy_row(Board& b, int to, int from) {
    for (int x = first_column; x <= last_column; ++x)
        b.at(x, to) = b.at(x, from);
}

void copy_column(Board& b, int to, int from) {
    for (int y = first_row; y <= last_row; ++y)
        b.at(to, y) = b.at(from, y);
}

void turn_up(Board& b) {
    copy_row(b, last_row + 1, first_row);
    for (int y = first_row; y <= last_row; ++y)
        copy_row(b, y, y + 1);
    for (int x = first_column; x <= last_column; ++x)
        b.at(x, last_row + 1) = empty_cell;
}

void turn_down(Board& b) {
    copy_row(b, first_row - 1, last_row);
    for (int y = last_row; y >= first_row; --y)
        copy_row(b, y, y - 1);
    for (int x = first_column; x <= last_column; ++x)
        b.at(x, first_row - 1) = empty_cell;
}

void turn_left(Board& b) {
    copy_column(b, last_column + 1, first_column);
    for (int x = first_column; x <= last_column; ++x)
        copy_column(b, x, x + 1);
    for (int y = first_row; y <= last_row; ++y)
        b.at(last_column + 1, y) = empty_cell;
}

void turn_right(Board& b) {
    copy_column(b, first_column - 1, last_column);
    for (int x = last_column; x >= first_column; --x)
        copy_column(b, x, x - 1);
    for (int y = first_row; y <= last_row; ++y)
        b.at(first_column - 1, y) = empty_cell;
}

}  // namespace

void shift_board(Board& b, int mode) {
    switch (mode) {
        case 2:
            slide_up(b);
            break;
        case 3:
            slide_down(b);
            break;
        case 4:
            slide_left(b);
            break;
        case 5:
            slide_right(b);
            break;
        case 6:
            turn_up(b);
            break;
        case 7:
            turn_down(b);
            break;
        case 8:
            turn_left(b);
            break;
        case 9:
            turn_right(b);
            break;
        default:
            break;
    }
}

void shift_board() {
    shift_board(rules_state().board, rules_state().board_mode);
}

void begin_new_game() {
    RulesState& r = rules_state();
    r.score = 0;
    r.stage_bonus = 300;
    r.board_mode = 0;
}

void begin_stage() {
    RulesState& r = rules_state();
    r.score += r.stage_bonus;
    if (r.stage_bonus > 100) r.stage_bonus -= 50;
    r.board_mode += 1;
    if (r.board_mode == 10) r.board_mode = 1;
}

void deal_stage_board() {
    do {
        deal_full_board();
    } while (count_open_pairs() == 0);
}

void deal_training_exercise(int level) {
    do {
        deal_training_board(level);
    } while (count_open_pairs() == 0);
}

void clear_stage() {
    RulesState& r = rules_state();
    if (r.board_mode == 9) r.score += 1000;
}

void charge_time(std::int64_t seconds) {
    std::int32_t& score = rules_state().score;
    if (score > 0) {
        const std::int64_t left = score - seconds;
        score = left < 0 ? 0 : static_cast<std::int32_t>(left);
    }
    if (score < 0) score = 0;
}

void charge_hint() {
    RulesState& r = rules_state();
    r.score -= r.hint_cost;
    r.hint_cost += 10;
    if (r.score < 0) r.score = 0;
}

}  // namespace rules
