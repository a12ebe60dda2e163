// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The board and everything the rules keep between calls: the 18 x 11 grid with its
// empty outer ring, the tile pool the deals draw from, the selection and removal
// flags, the score, the cell geometry and the window title's base text, in one
// RulesState that reset_rules_state() puts back to its start-up values.
#pragma once

#include <array>
#include <cstdint>

#include "base/language.h"
#include "base/string.h"
#include "base/timer.h"

namespace rules {

constexpr int board_columns = 18;
constexpr int board_rows = 11;
constexpr int board_cells = board_columns * board_rows;
// The interior holds the tiles; the ring of cells around it is empty after every deal.
constexpr int first_column = 1;
constexpr int last_column = 16;
constexpr int first_row = 1;
constexpr int last_row = 9;
constexpr int tile_kinds = 36;
constexpr int copies_per_kind = 4;
constexpr int full_deal_tiles = tile_kinds * copies_per_kind;  // 144, the whole interior
constexpr std::int32_t empty_cell = -1;

// A cell holds a tile kind 0..35 or -1; every test treats a negative value as empty.
struct Board {
    // Column by column: cell (x, y) is element x * 11 + y.
    std::array<std::int32_t, board_cells> cells;

    static constexpr int index(int x, int y) { return x * board_rows + y; }
    std::int32_t& at(int x, int y) { return cells[index(x, y)]; }
    std::int32_t at(int x, int y) const { return cells[index(x, y)]; }
    bool occupied(int x, int y) const { return at(x, y) >= 0; }
    void clear() { cells.fill(empty_cell); }
    bool operator==(const Board&) const = default;
};

constexpr bool on_grid(int x, int y) {
    return x >= 0 && x < board_columns && y >= 0 && y < board_rows;
}
constexpr bool in_ring(int x, int y) {
    return x < first_column || x > last_column || y < first_row || y > last_row;
}

struct Cell {
    std::int32_t column = 0;
    std::int32_t row = 0;
    bool operator==(const Cell&) const = default;
};

// The two turning cells of a path: start -> first -> second -> target.
struct PathCorners {
    Cell first;
    Cell second;
};

// An open pair as the open-pair count last found it.
struct HintPair {
    Cell first;
    Cell second;
};

// ---- Program-wide state -------------------------------------------------------------

// Everything the rules keep between calls, at its start-up values.
// The window title's base text in a language: the game's name and version.
inline const char* game_title(Language in) {
    return in == Language::english ? "Vorpy 1.25" : "Ворпы 1.25"_cp1251;
}

struct RulesState {
    Board board = [] {
        Board b;
        b.clear();
        return b;
    }();
    // Scratch of the deals: a kind still to be placed, or -1 once taken.
    std::array<std::int32_t, full_deal_tiles> tile_pool{};
    // Tiles on the board; set by a deal, lowered by 2 when a removal is finished, never
    // recounted.
    std::int32_t tiles_left = 0;
    // 1 while no tile is selected, 0 while a first tile waits for its partner.
    std::int32_t no_selection = 1;
    // The first selected tile; meaningful while no_selection is 0.
    Cell selected_cell;
    // 1 from a removal until its finishing step has run.
    std::int32_t removal_pending = 0;
    Timer removal_timer;
    // Left by every path search: the corners of the path found, or all -1.
    Cell path_corner1;
    Cell path_corner2;
    // The last open ordered pair the open-pair count found.
    HintPair hint_pair;
    // What the next hint costs; grows by 10 with each hint and is never reset within a run.
    std::int32_t hint_cost = 10;
    // The stage's mode 0..9: how the board moves after each removal.
    std::int32_t board_mode = 0;
    std::int32_t score = 0;
    // Points added when the next stage starts.
    std::int32_t stage_bonus = 300;
    // Cell size in pixels, set at start-up from the tile atlas.
    std::int32_t cell_width = 0;
    std::int32_t cell_height = 0;
    // The window title's base text (Windows-1251); emptied at start-up when the main menu
    // file fails the identity check.
    String title_text = game_title(language());
};

RulesState& rules_state();
// Puts the state back to its start-up values; the board becomes all empty. The random
// generator (base/random.h) is not part of it.
void reset_rules_state();

// Puts a whole board in place as a deal would: tiles_left counts its occupied cells, no
// tile is selected and no removal is pending.
void place_board(const Board& b);

// ---- Geometry ------------------------------------------------------------------------

// Pixel centre of a column or row for the current cell size, halves truncated.
std::int32_t cell_center_x(std::int32_t column);
std::int32_t cell_center_y(std::int32_t row);

// ---- Deals ---------------------------------------------------------------------------
// Both draw from the program's one random generator (base/random.h).

// Fills the interior with four copies of each of the 36 kinds in random order and
// empties the ring; tiles_left = 144, no selection and no removal pending.
void deal_full_board();
// Fills columns 6 - level .. 11 + level, rows 4 - level .. 3 + level with
// n = (6 + 2 level) x 2 level tiles: n / 4 different kinds, four copies each, in
// random order; everything else is empty. tiles_left = n, no selection and no
// removal pending. Levels outside 1..3 are taken as the nearest of them.
void deal_training_board(int level);

}  // namespace rules
