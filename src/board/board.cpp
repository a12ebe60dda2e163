// The board's program-wide state, the cell geometry and the deals.
#include "board/board.h"

#include <algorithm>

#include "base/random.h"
#include "platform/cp1251.h"

namespace rules {

namespace {

Board empty_board() {
    Board b;
    b.clear();
    return b;
}

// Takes an untaken pool entry among the first `entries` by drawing until one is found.
std::int32_t take_from_pool(std::int32_t entries) {
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
    tiles_left = tiles;
    no_selection = 1;
    removal_pending = 0;
}

}  // namespace

Board board = empty_board();
std::array<std::int32_t, full_deal_tiles> tile_pool{};
std::int32_t tiles_left = 0;
std::int32_t no_selection = 1;
Cell selected_cell;
std::int32_t removal_pending = 0;
Timer removal_timer;
Cell path_corner1;
Cell path_corner2;
HintPair hint_pair;
std::int32_t hint_cost = 10;
std::int32_t board_mode = 0;
std::int32_t score = 0;
std::int32_t stage_bonus = 300;
std::int32_t cell_width = 0;
std::int32_t cell_height = 0;
String title_text = "Ворпы 1.25"_cp1251;

void reset_board_state() {
    board.clear();
    tile_pool.fill(0);
    tiles_left = 0;
    no_selection = 1;
    selected_cell = {};
    removal_pending = 0;
    removal_timer.restart();
    path_corner1 = {};
    path_corner2 = {};
    hint_pair = {};
    hint_cost = 10;
    board_mode = 0;
    score = 0;
    stage_bonus = 300;
    cell_width = 0;
    cell_height = 0;
    title_text = "Ворпы 1.25"_cp1251;
}

std::int32_t cell_center_x(std::int32_t column) {
    return column * cell_width + cell_width / 2;
}

std::int32_t cell_center_y(std::int32_t row) {
    return row * cell_height + cell_height / 2;
}

void outline_cell(platform::DrawContext& context, int column, int row) {
    const int left = column * cell_width + 1, right = column * cell_width + cell_width - 1;
    const int top = row * cell_height + 1, bottom = row * cell_height + cell_height - 1;
    platform::move_to(context, left, top);
    platform::line_to(context, right, top);
    platform::line_to(context, right, bottom);
    platform::line_to(context, left, bottom);
    platform::line_to(context, left, top);
}

void deal_full_board() {
    for (int k = 0; k < full_deal_tiles; ++k)
        tile_pool[k] = k / copies_per_kind;
    for (int x = 0; x < board_columns; ++x) {
        for (int y = 0; y < board_rows; ++y) {
            board.at(x, y) = in_ring(x, y) ? empty_cell : take_from_pool(full_deal_tiles);
        }
    }
    start_dealt_board(full_deal_tiles);
}

void deal_training_board(int level) {
    const int c = std::clamp(level, 1, 3);
    const std::int32_t tiles = (6 + 2 * c) * 2 * c;
    // Choose tiles / 4 different kinds, each filling four consecutive pool entries.
    for (std::int32_t i = 0; i < tiles; i += copies_per_kind) {
        std::int32_t kind;
        do {
            kind = random_below(tile_kinds);
        } while (std::find(tile_pool.begin(), tile_pool.begin() + i, kind) !=
                 tile_pool.begin() + i);
        std::fill_n(tile_pool.begin() + i, copies_per_kind, kind);
    }
    for (int x = 0; x < board_columns; ++x) {
        for (int y = 0; y < board_rows; ++y) {
            const bool inside = x >= 6 - c && x <= 11 + c && y >= 4 - c && y <= 3 + c;
            board.at(x, y) = inside ? take_from_pool(tiles) : empty_cell;
        }
    }
    start_dealt_board(tiles);
}

}  // namespace rules
