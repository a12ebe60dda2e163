// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Boards written as pictures for the board tests: 11 lines of 18 characters, one per
// row from the top, '.' for an empty cell, 'A'..'Z' for kinds 0..25, 'a'..'j' for
// kinds 26..35 and '#' for an obstacle tile of kind 35. Also a clean fixture for the
// program-wide board state.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "base/fatal.h"
#include "board/board.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/desktop.h"

namespace board_test {

using Picture = std::array<const char*, rules::board_rows>;

inline std::int32_t kind_of(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'j') return 26 + (c - 'a');
    if (c == '#') return 35;
    return rules::empty_cell;
}

inline char char_of(std::int32_t kind) {
    if (kind < 0) return '.';
    if (kind < 26) return static_cast<char>('A' + kind);
    return static_cast<char>('a' + (kind - 26));
}

inline rules::Board board_from(const Picture& rows) {
    rules::Board b;
    b.clear();
    for (int y = 0; y < rules::board_rows; ++y) {
        const std::string line = rows[y];
        EXPECT_EQ(line.size(), static_cast<std::size_t>(rules::board_columns)) << "row " << y;
        for (int x = 0; x < rules::board_columns && x < static_cast<int>(line.size()); ++x) {
            b.at(x, y) = kind_of(line[x]);
        }
    }
    return b;
}

// The board as picture lines joined by newlines, so a failed comparison shows both boards.
inline std::string picture_of(const rules::Board& b) {
    std::string text;
    for (int y = 0; y < rules::board_rows; ++y) {
        for (int x = 0; x < rules::board_columns; ++x)
            text += char_of(b.at(x, y));
        text += '\n';
    }
    return text;
}

inline std::string picture_of(const Picture& rows) {
    return picture_of(board_from(rows));
}

// Where a character stands in a picture; the first from the top left, row by row.
inline rules::Cell find_char(const Picture& rows, char c) {
    for (int y = 0; y < rules::board_rows; ++y) {
        for (int x = 0; x < rules::board_columns; ++x) {
            if (rows[y][x] == c) return {x, y};
        }
    }
    ADD_FAILURE() << "no '" << c << "' in the picture";
    return {-1, -1};
}

inline int occupied_cells(const rules::Board& b) {
    int n = 0;
    for (std::int32_t v : b.cells)
        n += v >= 0 ? 1 : 0;
    return n;
}

inline bool ring_empty(const rules::Board& b) {
    for (int x = 0; x < rules::board_columns; ++x) {
        for (int y = 0; y < rules::board_rows; ++y) {
            if (rules::in_ring(x, y) && b.occupied(x, y)) return false;
        }
    }
    return true;
}

inline std::map<std::int32_t, int> kind_counts(const rules::Board& b) {
    std::map<std::int32_t, int> counts;
    for (std::int32_t v : b.cells) {
        if (v >= 0) ++counts[v];
    }
    return counts;
}

// Boards more than one suite plays on.
// clang-format off
// A A side by side with an E below the first; a B walled in by C, D, G and K with
// its partner free; F F on the bottom row, joined only around the ring below them.
inline const Picture play_board = {
    "..................",
    "..................",
    "..AA........L.....",
    "..E...............",
    ".........C........",
    "........DBG.......",
    ".........K........",
    ".....B............",
    "................J.",
    ".F......H.......F.",
    "..................",
};
// clang-format on

// clang-format off
// The A pair is open; the B in the right half is walled in by single tiles.
inline const Picture one_open_pair_before_a_closed_one = {
    "..................",
    "..................",
    "..................",
    "...A..............",
    "..............C...",
    "...A.........DBE..",
    "..............F...",
    "..................",
    "..B...............",
    "..................",
    "..................",
};
// clang-format on

// Program-wide board state at its start-up values, the recording desktop and audio
// emptied, a virtual clock installed and the cell size of a 432 x 288 tile atlas.
class BoardState : public testing::Test {
  protected:
    void SetUp() override {
        platform::set_clock(&clock_);
        rules::reset_rules_state();
        rules::rules_state().cell_width = 36;
        rules::rules_state().cell_height = 48;
        platform::recording_audio().effects.clear();
        platform::recording_desktop().boxes.clear();
        platform::recording_desktop().title.clear();
        platform::reset_messages();
        reset_fatal_state();
    }
    void TearDown() override {
        rules::reset_rules_state();
        platform::set_clock(nullptr);
    }

    // Puts a picture on the program's board with tiles_left matching it.
    void place(const Picture& rows) {
        rules::rules_state().board = board_from(rows);
        rules::rules_state().tiles_left = occupied_cells(rules::rules_state().board);
    }

    std::vector<std::string>& effects() { return platform::recording_audio().effects; }

    platform::VirtualClock clock_;
};

}  // namespace board_test
