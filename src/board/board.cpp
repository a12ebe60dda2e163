// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The rules' program-wide state, the cell geometry and the deals.
#include "board/board.h"

#include <algorithm>

#include "base/random.h"

namespace rules {

namespace {

// Takes an untaken pool entry among the first `entries` by drawing until one is found.
std::int32_t take_from_pool(std::int32_t entries) {
    auto& tile_pool = rules_state().tile_pool;
    std::int32_t k;
    do {
        k = random_below(entries);
    } while (tile_pool[k] < 0);
    const std::int32_t kind = tile_pool[k];
    tile_pool[k] = empty_cell;
    return kind;
}

// A pending removal belongs to the board it was made on; a new board drops it, so that
// its finishing step never counts two tiles off the fresh deal.
void start_dealt_board(std::int32_t tiles) {
    RulesState& r = rules_state();
    r.tiles_left = tiles;
    r.no_selection = 1;
    r.removal_pending = 0;
}

}  // namespace

RulesState& rules_state() {
    static RulesState state;
    return state;
}

void reset_rules_state() {
    rules_state() = RulesState();
}

void place_board(const Board& b) {
    rules_state().board = b;
    start_dealt_board(static_cast<std::int32_t>(
        std::count_if(b.cells.begin(), b.cells.end(), [](std::int32_t v) { return v >= 0; })));
}

std::int32_t cell_center_x(std::int32_t column) {
    const std::int32_t w = rules_state().cell_width;
    return column * w + w / 2;
}

std::int32_t cell_center_y(std::int32_t row) {
    const std::int32_t h = rules_state().cell_height;
    return row * h + h / 2;
}

void deal_full_board() {
    RulesState& r = rules_state();
    for (int k = 0; k < full_deal_tiles; ++k)
        r.tile_pool[k] = k / copies_per_kind;
    for (int x = 0; x < board_columns; ++x) {
        for (int y = 0; y < board_rows; ++y) {
            r.board.at(x, y) = in_ring(x, y) ? empty_cell : take_from_pool(full_deal_tiles);
        }
    }
    start_dealt_board(full_deal_tiles);
}

void deal_training_board(int level) {
    RulesState& r = rules_state();
    const int c = std::clamp(level, 1, 3);
    const std::int32_t tiles = (6 + 2 * c) * 2 * c;
    // Choose tiles / 4 different kinds, each filling four consecutive pool entries.
    for (std::int32_t i = 0; i < tiles; i += copies_per_kind) {
        std::int32_t kind;
        do {
            kind = random_below(tile_kinds);
        } while (std::find(r.tile_pool.begin(), r.tile_pool.begin() + i, kind) !=
                 r.tile_pool.begin() + i);
        std::fill_n(r.tile_pool.begin() + i, copies_per_kind, kind);
    }
    for (int x = 0; x < board_columns; ++x) {
        for (int y = 0; y < board_rows; ++y) {
            const bool inside = x >= 6 - c && x <= 11 + c && y >= 4 - c && y <= 3 + c;
            r.board.at(x, y) = inside ? take_from_pool(tiles) : empty_cell;
        }
    }
    start_dealt_board(tiles);
}

}  // namespace rules
