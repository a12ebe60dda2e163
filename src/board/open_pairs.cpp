// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Open-pair count, window title text and reshuffle.
#include "board/open_pairs.h"

#include <array>
#include <cstdlib>
#include <span>

#include "base/fatal.h"
#include "base/language.h"
#include "base/random.h"
#include "board/path.h"
#include "board/stage.h"

namespace rules {

ScratchAllocator reshuffle_allocator = std::malloc;

namespace {

struct Tile {
    std::int32_t kind;
    std::int8_t column;
    std::int8_t row;
};

bool any_kind_twice(std::span<const std::int32_t> kinds) {
    std::array<bool, tile_kinds> seen{};
    for (const std::int32_t kind : kinds) {
        if (kind < 0 || kind >= tile_kinds) continue;
        if (seen[static_cast<std::size_t>(kind)]) return true;
        seen[static_cast<std::size_t>(kind)] = true;
    }
    return false;
}

}  // namespace

std::int32_t count_open_pairs(const Board& b, HintPair& hint, PathCorners& corners) {
    // The interior's tiles in scan order: column by column, top to bottom within a column.
    Tile tiles[full_deal_tiles];
    int n = 0;
    for (int x = first_column; x <= last_column; ++x) {
        for (int y = first_row; y <= last_row; ++y) {
            if (b.occupied(x, y)) {
                tiles[n++] = {b.at(x, y), static_cast<std::int8_t>(x), static_cast<std::int8_t>(y)};
            }
        }
    }
    // The same tiles grouped by kind, each group still in scan order, so that the
    // partners of a tile are visited in the order a full scan would meet them. Kinds
    // are 0..35, as every deal places them; anything else could match nothing.
    std::uint8_t group_size[tile_kinds] = {};
    std::uint8_t group[tile_kinds][full_deal_tiles];
    for (int i = 0; i < n; ++i) {
        const std::int32_t kind = tiles[i].kind;
        if (kind < tile_kinds) group[kind][group_size[kind]++] = static_cast<std::uint8_t>(i);
    }

    std::int32_t count = 0;
    for (int i = 0; i < n; ++i) {
        const Tile first = tiles[i];
        if (first.kind >= tile_kinds) continue;
        for (int p = 0; p < group_size[first.kind]; ++p) {
            const int j = group[first.kind][p];
            if (j == i) continue;
            const Tile second = tiles[j];
            if (find_path(b, first.column, first.row, second.column, second.row, corners)) {
                hint = {{first.column, first.row}, {second.column, second.row}};
                ++count;
            }
        }
    }
    return count / 2;
}

std::int32_t count_open_pairs(const Board& b, HintPair& hint) {
    PathCorners corners;
    return count_open_pairs(b, hint, corners);
}

std::int32_t count_open_pairs() {
    RulesState& r = rules_state();
    PathCorners corners{r.path_corner1, r.path_corner2};
    const std::int32_t count = count_open_pairs(r.board, r.hint_pair, corners);
    r.path_corner1 = corners.first;
    r.path_corner2 = corners.second;
    return count;
}

String title_suffix(std::int32_t n, Language in) {
    if (n <= 0) return String();
    if (in == Language::english) {
        if (n == 1) return String(" (1 pair left).");
        if (n <= 20) return String(" (") + n + " pairs left).";
        return String(" (More than 20 pairs).");
    }
    if (n == 1) return String(" (Остался "_cp1251) + n + " вариант)."_cp1251;
    if (n <= 4) return String(" (Осталось "_cp1251) + n + " варианта)."_cp1251;
    if (n <= 20) return String(" (Осталось "_cp1251) + n + " вариантов)."_cp1251;
    return String(" (Больше 20 вариантов)."_cp1251);
}

String title_for(const String& base, std::int32_t n, Language in) {
    return base + title_suffix(n, in);
}

String board_title() {
    return title_for(rules_state().title_text, count_open_pairs(), language());
}

bool reshuffle_due() {
    return count_open_pairs() == 0 && rules_state().tiles_left > 0;
}

void reshuffle_board(bool shift) {
    Board& board = rules_state().board;
    const std::int32_t& tiles_left = rules_state().tiles_left;
    while (count_open_pairs() == 0 && tiles_left >= 1) {
        auto* list = static_cast<std::int32_t*>(
            reshuffle_allocator(static_cast<std::size_t>(tiles_left) * sizeof(std::int32_t)));
        if (list == nullptr) {
            fatal_error(localized("Не выделена память !!!"_cp1251, "Out of memory!"));
            return;
        }
        // Collect the kinds in scan order, at most tiles_left of them.
        std::int32_t collected = 0;
        for (int x = first_column; x <= last_column && collected < tiles_left; ++x) {
            for (int y = first_row; y <= last_row && collected < tiles_left; ++y) {
                if (board.occupied(x, y)) list[collected++] = board.at(x, y);
            }
        }
        // Only collected entries are ever read, should the count and the board disagree;
        // unless two tiles share a kind no pass could ever open a pair.
        if (!any_kind_twice(std::span(list, static_cast<std::size_t>(collected)))) {
            std::free(list);
            return;
        }
        // Place them back in the same order, each cell taking a random entry below t,
        // the index of the last unplaced one, which then moves into the gap.
        std::int32_t t = collected - 1;
        for (int x = first_column; x <= last_column && t >= 0; ++x) {
            for (int y = first_row; y <= last_row && t >= 0; ++y) {
                if (!board.occupied(x, y)) continue;
                const std::int32_t r = t > 0 ? random_below(t) : 0;
                board.at(x, y) = list[r];
                list[r] = list[t];
                --t;
            }
        }
        std::free(list);
        if (shift) shift_board();
    }
}

}  // namespace rules
