// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Whole stages played to the end in every mode, and training exercises, by a player
// that always takes the hint pair through real clicks and finishing steps; the board
// is checked after every removal.
#include <gtest/gtest.h>

#include "base/random.h"
#include "board/open_pairs.h"
#include "board/selection.h"
#include "board/stage.h"
#include "board_picture.h"

namespace {

using board_test::BoardState;

class Soak : public BoardState {
  protected:
    // Everything that must hold between removals.
    testing::AssertionResult board_sound() {
        const rules::Board& b = rules::rules_state().board;
        if (!board_test::ring_empty(b)) {
            return testing::AssertionFailure() << "tile in the ring\n" << board_test::picture_of(b);
        }
        if (rules::rules_state().tiles_left != board_test::occupied_cells(b)) {
            return testing::AssertionFailure()
                   << "tiles_left " << rules::rules_state().tiles_left << " but "
                   << board_test::occupied_cells(b) << " on the board";
        }
        for (const auto& [kind, count] : board_test::kind_counts(b)) {
            if (count != 2 && count != 4) {
                return testing::AssertionFailure()
                       << "kind " << kind << " stands " << count << " times\n"
                       << board_test::picture_of(b);
            }
        }
        if (rules::rules_state().tiles_left > 0 && rules::count_open_pairs() < 1) {
            return testing::AssertionFailure() << "no open pair\n" << board_test::picture_of(b);
        }
        return testing::AssertionSuccess();
    }

    // Plays the dealt board to the end; returns the removals made.
    int play_to_the_end(bool full_game) {
        int removals = 0;
        while (rules::rules_state().tiles_left > 0) {
            if (rules::count_open_pairs() < 1) {
                ADD_FAILURE() << "stuck\n" << board_test::picture_of(rules::rules_state().board);
                return removals;
            }
            const rules::HintPair pair = rules::rules_state().hint_pair;
            const std::int32_t score = rules::rules_state().score;
            rules::click_cell(pair.first.column, pair.first.row);
            const rules::ClickOutcome outcome =
                rules::click_cell(pair.second.column, pair.second.row);
            if (rules::rules_state().removal_pending != 1 ||
                outcome.result != rules::ClickResult::removed) {
                ADD_FAILURE() << "the hint pair was not removed";
                return removals;
            }
            clock_.advance_us(100001);
            if (!rules::removal_due()) {
                ADD_FAILURE() << "removal not due";
                return removals;
            }
            rules::finish_removal(full_game);
            rules::reshuffle_board(full_game);
            ++removals;
            EXPECT_EQ(rules::rules_state().score, full_game ? score + 10 : score);
            const testing::AssertionResult sound = board_sound();
            if (!sound) {
                ADD_FAILURE() << "mode " << rules::rules_state().board_mode << ", removal "
                              << removals << ": " << sound.message();
                return removals;
            }
        }
        return removals;
    }
};

TEST_F(Soak, FullStagesInEveryModeAndTrainingExercises) {
    seed_random(2024);
    constexpr int stages_per_mode = 30;
    for (int mode = 0; mode <= 9; ++mode) {
        for (int stage = 0; stage < stages_per_mode; ++stage) {
            rules::rules_state().board_mode = mode;
            rules::deal_stage_board();
            ASSERT_TRUE(board_sound());
            ASSERT_EQ(play_to_the_end(true), 72) << "mode " << mode << ", stage " << stage;
            EXPECT_TRUE(board_test::ring_empty(rules::rules_state().board));
            EXPECT_EQ(board_test::occupied_cells(rules::rules_state().board), 0);
        }
    }
    for (int round = 0; round < 20; ++round) {
        for (int level = 1; level <= 3; ++level) {
            rules::deal_training_exercise(level);
            const std::int32_t tiles = rules::rules_state().tiles_left;
            ASSERT_EQ(play_to_the_end(false), tiles / 2) << "level " << level;
        }
    }
}

}  // namespace
