// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Deals from fixed generator states: counts per kind, the empty ring, the training
// rectangles, the exact boards the generator's draw order gives, repeatability.
#include <gtest/gtest.h>

#include <set>

#include "base/random.h"
#include "board/open_pairs.h"
#include "board/stage.h"
#include "board_picture.h"

namespace {

using board_test::BoardState;
using board_test::kind_counts;
using board_test::picture_of;

class Deal : public BoardState {};

TEST_F(Deal, FullDealHoldsEveryKindFourTimesInsideAnEmptyRing) {
    for (std::uint32_t seed : {0u, 1u, 12345u, 0xFFFFFFFFu}) {
        seed_random(seed);
        rules::rules_state().no_selection = 0;
        rules::deal_full_board();
        EXPECT_TRUE(board_test::ring_empty(rules::rules_state().board))
            << picture_of(rules::rules_state().board);
        const auto counts = kind_counts(rules::rules_state().board);
        ASSERT_EQ(counts.size(), 36u);
        for (const auto& [kind, count] : counts) {
            EXPECT_TRUE(kind >= 0 && kind < 36);
            EXPECT_EQ(count, 4) << "kind " << kind;
        }
        for (int x = 1; x <= 16; ++x) {
            for (int y = 1; y <= 9; ++y)
                EXPECT_TRUE(rules::rules_state().board.occupied(x, y));
        }
        EXPECT_EQ(rules::rules_state().tiles_left, 144);
        EXPECT_EQ(rules::rules_state().no_selection, 1);
    }
}

TEST_F(Deal, FullDealFillsCellsColumnByColumnFromTheGenerator) {
    // Cells are visited down each column in turn, each drawing pool entries below 144
    // until an untaken one comes up.
    seed_random(12345);
    rules::deal_full_board();
    const std::int32_t column1[9] = {24, 3, 4, 23, 17, 19, 29, 21, 32};
    const std::int32_t column16[9] = {14, 13, 25, 7, 9, 10, 13, 21, 16};
    for (int y = 1; y <= 9; ++y) {
        EXPECT_EQ(rules::rules_state().board.at(1, y), column1[y - 1]) << "row " << y;
        EXPECT_EQ(rules::rules_state().board.at(16, y), column16[y - 1]) << "row " << y;
    }
    EXPECT_EQ(random_state(), 3350384979u);
}

TEST_F(Deal, SameGeneratorStateGivesTheSameBoard) {
    seed_random(777);
    rules::deal_full_board();
    const rules::Board first = rules::rules_state().board;
    rules::deal_full_board();
    EXPECT_NE(picture_of(rules::rules_state().board), picture_of(first)) << "the sequence moves on";
    seed_random(777);
    rules::deal_full_board();
    EXPECT_EQ(picture_of(rules::rules_state().board), picture_of(first));

    seed_random(31);
    rules::deal_training_board(2);
    const rules::Board training = rules::rules_state().board;
    seed_random(31);
    rules::deal_training_board(2);
    EXPECT_EQ(picture_of(rules::rules_state().board), picture_of(training));
}

struct TrainingCase {
    int level;
    int first_column, last_column, first_row, last_row;
    int tiles, kinds;
};

TEST_F(Deal, TrainingDealFillsItsRectangleWithDifferentKinds) {
    const TrainingCase cases[] = {
        {1, 5, 12, 3, 4, 16, 4},
        {2, 4, 13, 2, 5, 40, 10},
        {3, 3, 14, 1, 6, 72, 18},
    };
    for (const TrainingCase& c : cases) {
        for (std::uint32_t seed : {1u, 99u, 4242u}) {
            SCOPED_TRACE(testing::Message() << "level " << c.level << " seed " << seed);
            seed_random(seed);
            rules::rules_state().no_selection = 0;
            rules::deal_training_board(c.level);
            for (int x = 0; x < rules::board_columns; ++x) {
                for (int y = 0; y < rules::board_rows; ++y) {
                    const bool inside = x >= c.first_column && x <= c.last_column &&
                                        y >= c.first_row && y <= c.last_row;
                    EXPECT_EQ(rules::rules_state().board.occupied(x, y), inside) << x << ", " << y;
                }
            }
            const auto counts = kind_counts(rules::rules_state().board);
            EXPECT_EQ(static_cast<int>(counts.size()), c.kinds);
            for (const auto& [kind, count] : counts)
                EXPECT_EQ(count, 4) << "kind " << kind;
            EXPECT_EQ(rules::rules_state().tiles_left, c.tiles);
            EXPECT_EQ(rules::rules_state().no_selection, 1);
        }
    }
}

TEST_F(Deal, TrainingDealDrawsKindsThenCells) {
    seed_random(7);
    rules::deal_training_board(1);
    EXPECT_EQ(picture_of(rules::rules_state().board), picture_of({
                                                          "..................",
                                                          "..................",
                                                          "..................",
                                                          ".....ZXUXUiUX.....",
                                                          ".....iZXiZUZi.....",
                                                          "..................",
                                                          "..................",
                                                          "..................",
                                                          "..................",
                                                          "..................",
                                                          "..................",
                                                      }));
}

TEST_F(Deal, TrainingLevelsOutsideTheRangeTakeTheNearest) {
    seed_random(5);
    rules::deal_training_board(0);
    EXPECT_EQ(rules::rules_state().tiles_left, 16);
    seed_random(5);
    rules::deal_training_board(9);
    EXPECT_EQ(rules::rules_state().tiles_left, 72);
    EXPECT_EQ(board_test::occupied_cells(rules::rules_state().board), 72);
}

TEST_F(Deal, ADealDropsARemovalPendingOnThePreviousBoard) {
    // Left pending when the game was abandoned, the finishing step would otherwise count
    // two tiles off the new board.
    rules::rules_state().removal_pending = 1;
    seed_random(3);
    rules::deal_full_board();
    EXPECT_EQ(rules::rules_state().removal_pending, 0);
    rules::rules_state().removal_pending = 1;
    rules::deal_training_board(1);
    EXPECT_EQ(rules::rules_state().removal_pending, 0);
}

TEST_F(Deal, StageAndExerciseDealsLeaveAnOpenPair) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        seed_random(seed);
        rules::deal_stage_board();
        EXPECT_GE(rules::count_open_pairs(), 1);
        for (int level = 1; level <= 3; ++level) {
            rules::deal_training_exercise(level);
            EXPECT_GE(rules::count_open_pairs(), 1);
        }
    }
}

}  // namespace
