// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Stage modes and the score: every board shift on one board with its result written
// out, the mode and bonus sequence of a game, the time charge and the hint cost.
#include "board/stage.h"

#include <gtest/gtest.h>

#include "board_picture.h"

namespace {

using board_test::board_from;
using board_test::BoardState;
using board_test::Picture;
using board_test::picture_of;

// clang-format off
const Picture unshifted = {
    "..................",
    "...E......Ih...L..",
    "..ecMWaWiW....R...",
    "...A..A.U...FR....",
    "..G....dF.b.......",
    "...NXe.X.DD..S..h.",
    "..N.J......Z......",
    ".dLKVQ.Fe.d..LW.j.",
    "...MA.PgD..iW..X..",
    ".D...W..iN...j....",
    "..................",
};

struct ShiftCase {
    int mode;
    Picture expected;
};

const ShiftCase shift_cases[] = {
    {0, {
        "..................",
        "...E......Ih...L..",
        "..ecMWaWiW....R...",
        "...A..A.U...FR....",
        "..G....dF.b.......",
        "...NXe.X.DD..S..h.",
        "..N.J......Z......",
        ".dLKVQ.Fe.d..LW.j.",
        "...MA.PgD..iW..X..",
        ".D...W..iN...j....",
        "..................",
    }},
    {1, {
        "..................",
        "...E......Ih...L..",
        "..ecMWaWiW....R...",
        "...A..A.U...FR....",
        "..G....dF.b.......",
        "...NXe.X.DD..S..h.",
        "..N.J......Z......",
        ".dLKVQ.Fe.d..LW.j.",
        "...MA.PgD..iW..X..",
        ".D...W..iN...j....",
        "..................",
    }},
    {2, {
        "..................",
        ".deEMWaWiWIhFRRLh.",
        ".DGcXeAdUDbZWSWXj.",
        "..NAJQPXFNDi.L....",
        "..LNVW.Fe.d..j....",
        "...KA..gD.........",
        "...M....i.........",
        "..................",
        "..................",
        "..................",
        "..................",
    }},
    {3, {
        "..................",
        "..................",
        "..................",
        "..................",
        "...E....i.........",
        "...cM..WU.........",
        "..eAXW.dF.I..R....",
        "..GNJeaXeWbh.S....",
        ".dNKVQAFDDDZFLRLh.",
        ".DLMAWPgiNdiWjWXj.",
        "..................",
    }},
    {4, {
        "..................",
        ".EIhL.............",
        ".ecMWaWiWR........",
        ".AAUFR............",
        ".GdFb.............",
        ".NXeXDDSh.........",
        ".NJZ..............",
        ".dLKVQFedLWj......",
        ".MAPgDiWX.........",
        ".DWiNj............",
        "..................",
    }},
    {5, {
        "..................",
        ".............EIhL.",
        "........ecMWaWiWR.",
        "............AAUFR.",
        ".............GdFb.",
        ".........NXeXDDSh.",
        "..............NJZ.",
        "......dLKVQFedLWj.",
        ".........MAPgDiWX.",
        "............DWiNj.",
        "..................",
    }},
    {6, {
        "..................",
        "..ecMWaWiW....R...",
        "...A..A.U...FR....",
        "..G....dF.b.......",
        "...NXe.X.DD..S..h.",
        "..N.J......Z......",
        ".dLKVQ.Fe.d..LW.j.",
        "...MA.PgD..iW..X..",
        ".D...W..iN...j....",
        "...E......Ih...L..",
        "..................",
    }},
    {7, {
        "..................",
        ".D...W..iN...j....",
        "...E......Ih...L..",
        "..ecMWaWiW....R...",
        "...A..A.U...FR....",
        "..G....dF.b.......",
        "...NXe.X.DD..S..h.",
        "..N.J......Z......",
        ".dLKVQ.Fe.d..LW.j.",
        "...MA.PgD..iW..X..",
        "..................",
    }},
    {8, {
        "..................",
        "..E......Ih...L...",
        ".ecMWaWiW....R....",
        "..A..A.U...FR.....",
        ".G....dF.b........",
        "..NXe.X.DD..S..h..",
        ".N.J......Z.......",
        ".LKVQ.Fe.d..LW.jd.",
        "..MA.PgD..iW..X...",
        "....W..iN...j...D.",
        "..................",
    }},
    {9, {
        "..................",
        "....E......Ih...L.",
        "...ecMWaWiW....R..",
        "....A..A.U...FR...",
        "...G....dF.b......",
        ".h..NXe.X.DD..S...",
        "...N.J......Z.....",
        ".jdLKVQ.Fe.d..LW..",
        "....MA.PgD..iW..X.",
        "..D...W..iN...j...",
        "..................",
    }},
};
// clang-format on

TEST(ShiftBoard, EveryModeMovesTheTilesAsWrittenOut) {
    for (const ShiftCase& c : shift_cases) {
        rules::Board b = board_from(unshifted);
        rules::shift_board(b, c.mode);
        EXPECT_EQ(picture_of(b), picture_of(c.expected)) << "mode " << c.mode;
        EXPECT_TRUE(board_test::ring_empty(b)) << "mode " << c.mode;
        EXPECT_EQ(board_test::kind_counts(b), board_test::kind_counts(board_from(unshifted)))
            << "mode " << c.mode;
    }
}

class Stage : public BoardState {};

TEST_F(Stage, ShiftUsesTheStageModeAndLeavesTheTileCountAlone) {
    for (const ShiftCase& c : shift_cases) {
        place(unshifted);
        const std::int32_t tiles = rules::rules_state().tiles_left;
        rules::rules_state().board_mode = c.mode;
        rules::shift_board();
        EXPECT_EQ(picture_of(rules::rules_state().board), picture_of(c.expected))
            << "mode " << c.mode;
        EXPECT_EQ(rules::rules_state().tiles_left, tiles);
    }
}

TEST_F(Stage, SlidingUpKeepsTheColumnsOrder) {
    // A column with tiles in rows 2, 5 and 9 holds them in rows 1, 2 and 3.
    rules::rules_state().board.clear();
    rules::rules_state().board.at(4, 2) = 7;
    rules::rules_state().board.at(4, 5) = 8;
    rules::rules_state().board.at(4, 9) = 9;
    rules::rules_state().board_mode = 2;
    rules::shift_board();
    EXPECT_EQ(rules::rules_state().board.at(4, 1), 7);
    EXPECT_EQ(rules::rules_state().board.at(4, 2), 8);
    EXPECT_EQ(rules::rules_state().board.at(4, 3), 9);
    EXPECT_EQ(board_test::occupied_cells(rules::rules_state().board), 3);
}

TEST_F(Stage, ModesAndBonusesOfAGame) {
    rules::rules_state().score = 55;
    rules::rules_state().stage_bonus = 100;
    rules::rules_state().board_mode = 4;
    rules::begin_new_game();
    EXPECT_EQ(rules::rules_state().score, 0);
    EXPECT_EQ(rules::rules_state().stage_bonus, 300);
    EXPECT_EQ(rules::rules_state().board_mode, 0);

    const int bonuses[] = {300, 250, 200, 150, 100, 100, 100, 100, 100, 100, 100};
    const int modes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2};
    int expected_score = 0;
    for (int stage = 0; stage < 11; ++stage) {
        rules::begin_stage();
        expected_score += bonuses[stage];
        EXPECT_EQ(rules::rules_state().score, expected_score) << "stage " << stage + 1;
        EXPECT_EQ(rules::rules_state().board_mode, modes[stage]) << "stage " << stage + 1;
    }
}

TEST_F(Stage, OnlyAStageClearedInModeNineEarnsTheThousand) {
    for (int mode = 0; mode <= 9; ++mode) {
        rules::rules_state().score = 40;
        rules::rules_state().board_mode = mode;
        rules::clear_stage();
        EXPECT_EQ(rules::rules_state().score, mode == 9 ? 1040 : 40) << "mode " << mode;
    }
}

TEST_F(Stage, TimeChargeTakesWholeSecondsAndStopsAtZero) {
    const struct {
        std::int32_t score;
        std::int64_t seconds;
        std::int32_t after;
    } cases[] = {
        {5, 3, 2}, {0, 3, 0}, {2, 5, 0}, {300, 0, 300}, {7, 7, 0}, {10, 5'000'000'000LL, 0},
    };
    for (const auto& c : cases) {
        rules::rules_state().score = c.score;
        rules::charge_time(c.seconds);
        EXPECT_EQ(rules::rules_state().score, c.after) << c.score << " - " << c.seconds << " s";
    }
}

TEST_F(Stage, HintsCostTenMoreEachTimeAcrossGames) {
    rules::begin_new_game();
    rules::rules_state().score = 100;
    rules::charge_hint();
    EXPECT_EQ(rules::rules_state().score, 90);
    rules::charge_hint();
    EXPECT_EQ(rules::rules_state().score, 70);
    rules::begin_new_game();
    rules::rules_state().score = 100;
    rules::charge_hint();
    EXPECT_EQ(rules::rules_state().score, 70) << "the third hint of the run costs 30";
    EXPECT_EQ(rules::rules_state().hint_cost, 40);
}

TEST_F(Stage, AHintDearerThanTheScoreLeavesZero) {
    rules::rules_state().score = 15;
    rules::rules_state().hint_cost = 20;
    rules::charge_hint();
    EXPECT_EQ(rules::rules_state().score, 0);
    EXPECT_EQ(rules::rules_state().hint_cost, 30);
}

}  // namespace
