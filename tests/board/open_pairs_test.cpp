// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Open pairs on hand-made boards, the hint pair the scan order picks, the window
// title's exact bytes and the reshuffle.
#include "board/open_pairs.h"

#include <gtest/gtest.h>

#include <string>

#include "base/random.h"
#include "board_picture.h"
#include "support/test_support.h"

namespace {

using board_test::board_from;
using board_test::BoardState;
using board_test::kind_counts;
using board_test::one_open_pair_before_a_closed_one;
using board_test::Picture;
using board_test::picture_of;
using rules::Cell;
using rules::HintPair;

// clang-format off
const Picture three_of_a_kind = {
    "..................",
    "..................",
    "..A.A.............",
    "..................",
    "..................",
    "..A...............",
    "..................",
    "..................",
    "..................",
    "..................",
    "..................",
};
const Picture four_of_a_kind = {
    "..................",
    "..................",
    "..A.A.............",
    "..................",
    "..................",
    "..A.A.............",
    "..................",
    "..................",
    "..................",
    "..................",
    "..................",
};
// Three 2 x 2 blocks of crossed pairs: no pair is open anywhere.
const Picture crossed_blocks = {
    "..................",
    "..................",
    "..AB........EF....",
    "..BA........FE....",
    "..................",
    ".......CD.........",
    ".......DC.........",
    "..................",
    "..................",
    "..................",
    "..................",
};
// clang-format on

struct CountCase {
    const char* name;
    Picture rows;
    int open_pairs;
    HintPair hint;
};

const HintPair untouched{{77, 77}, {77, 77}};

TEST(CountOpenPairs, CountsUnorderedPairsAndKeepsTheLastOrderedOne) {
    const CountCase cases[] = {
        {"three mutually reachable tiles", three_of_a_kind, 3, {{4, 2}, {2, 5}}},
        {"four mutually reachable tiles", four_of_a_kind, 6, {{4, 5}, {4, 2}}},
        {"a walled-in tile after the open pair",
         one_open_pair_before_a_closed_one,
         1,
         {{3, 5}, {3, 3}}},
        {"crossed blocks", crossed_blocks, 0, untouched},
        {"empty board",
         {"..................", "..................", "..................", "..................",
          "..................", "..................", "..................", "..................",
          "..................", "..................", ".................."},
         0,
         untouched},
    };
    for (const CountCase& c : cases) {
        HintPair hint = untouched;
        EXPECT_EQ(rules::count_open_pairs(board_from(c.rows), hint), c.open_pairs) << c.name;
        EXPECT_EQ(hint.first, c.hint.first) << c.name;
        EXPECT_EQ(hint.second, c.hint.second) << c.name;
    }
}

TEST(CountOpenPairs, OnlyTheInteriorIsScanned) {
    rules::Board b = board_from(three_of_a_kind);
    b.at(0, 2) = 0;  // a tile in the ring, as only a shift in progress would leave it
    HintPair hint;
    EXPECT_EQ(rules::count_open_pairs(b, hint), 3);
}

TEST(CountOpenPairs, TwoTilesAloneAreAlwaysJoined) {
    for (int a = 0; a < 144; ++a) {
        for (int b = a + 1; b < 144; ++b) {
            rules::Board board;
            board.clear();
            board.at(1 + a / 9, 1 + a % 9) = 5;
            board.at(1 + b / 9, 1 + b % 9) = 5;
            HintPair hint;
            ASSERT_EQ(rules::count_open_pairs(board, hint), 1) << picture_of(board);
        }
    }
}

class OpenPairs : public BoardState {};

TEST_F(OpenPairs, ProgramWideCountWritesTheHintPairAndTheCorners) {
    place(four_of_a_kind);
    rules::rules_state().path_corner1 = {50, 50};
    EXPECT_EQ(rules::count_open_pairs(), 6);
    EXPECT_EQ(rules::rules_state().hint_pair.first, (Cell{4, 5}));
    EXPECT_EQ(rules::rules_state().hint_pair.second, (Cell{4, 2}));
    EXPECT_NE(rules::rules_state().path_corner1, (Cell{50, 50}));

    place(crossed_blocks);
    EXPECT_EQ(rules::count_open_pairs(), 0);
    EXPECT_EQ(rules::rules_state().hint_pair.first, (Cell{4, 5})) << "kept when nothing is open";
}

// ---- Title ---------------------------------------------------------------------------

const std::string vorpy = "\xC2\xEE\xF0\xEF\xFB 1.25";
const std::string left_one = " (\xCE\xF1\xF2\xE0\xEB\xF1\xFF ";
const std::string left_many = " (\xCE\xF1\xF2\xE0\xEB\xEE\xF1\xFC ";
const std::string variant = " \xE2\xE0\xF0\xE8\xE0\xED\xF2).";
const std::string variants_few = " \xE2\xE0\xF0\xE8\xE0\xED\xF2\xE0).";
const std::string variants_many = " \xE2\xE0\xF0\xE8\xE0\xED\xF2\xEE\xE2).";
const std::string more_than_20 =
    " (\xC1\xEE\xEB\xFC\xF8\xE5 20 \xE2\xE0\xF0\xE8\xE0\xED\xF2\xEE\xE2).";

TEST(Title, RussianFormsForEachCountAndTheCapAtTwenty) {
    const struct {
        std::int32_t n;
        std::string expected;
    } cases[] = {
        {0, vorpy},
        {1, vorpy + left_one + "1" + variant},
        {2, vorpy + left_many + "2" + variants_few},
        {4, vorpy + left_many + "4" + variants_few},
        {5, vorpy + left_many + "5" + variants_many},
        {7, vorpy + left_many + "7" + variants_many},
        {20, vorpy + left_many + "20" + variants_many},
        {21, vorpy + more_than_20},
        {432, vorpy + more_than_20},
    };
    for (const auto& c : cases) {
        const String title = rules::title_for(String(vorpy.c_str()), c.n, Language::russian);
        EXPECT_EQ(std::string(title.c_str(), title.length()), c.expected) << c.n << " pairs";
    }
}

TEST(Title, EnglishSingularPluralAndTheCapAtTwenty) {
    const struct {
        std::int32_t n;
        std::string expected;
    } cases[] = {
        {0, "Vorpy 1.25"},
        {1, "Vorpy 1.25 (1 pair left)."},
        {2, "Vorpy 1.25 (2 pairs left)."},
        {11, "Vorpy 1.25 (11 pairs left)."},
        {20, "Vorpy 1.25 (20 pairs left)."},
        {21, "Vorpy 1.25 (More than 20 pairs)."},
    };
    for (const auto& c : cases) {
        const String title =
            rules::title_for(rules::game_title(Language::english), c.n, Language::english);
        EXPECT_EQ(std::string(title.c_str(), title.length()), c.expected) << c.n << " pairs";
    }
}

TEST_F(OpenPairs, BoardTitleTellsTheCurrentCount) {
    const auto title = [] { return test_support::str(rules::board_title()); };
    place(three_of_a_kind);
    EXPECT_EQ(title(), vorpy + left_many + "3" + variants_few);

    place(crossed_blocks);
    EXPECT_EQ(title(), vorpy);

    // After a failed identity check only the suffix remains.
    rules::rules_state().title_text = "";
    place(four_of_a_kind);
    EXPECT_EQ(title(), left_many + "6" + variants_many);
}

// ---- Reshuffle -----------------------------------------------------------------------

std::vector<Cell> occupied_list(const rules::Board& b) {
    std::vector<Cell> cells;
    for (int x = 0; x < rules::board_columns; ++x) {
        for (int y = 0; y < rules::board_rows; ++y) {
            if (b.occupied(x, y)) cells.push_back({x, y});
        }
    }
    return cells;
}

// How many generator draws lead from a seed to the generator's current state.
int draws_since(std::uint32_t seed) {
    const std::uint32_t now = random_state();
    seed_random(seed);
    int draws = 0;
    while (random_state() != now && draws < 1'000'000) {
        random_draw();
        ++draws;
    }
    return draws;
}

TEST_F(OpenPairs, ReshuffleKeepsCellsAndKindsAndOpensAPair) {
    for (std::uint32_t seed = 1; seed <= 50; ++seed) {
        place(crossed_blocks);
        ASSERT_EQ(rules::count_open_pairs(), 0);
        EXPECT_TRUE(rules::reshuffle_due());
        seed_random(seed);
        rules::reshuffle_board(false);
        EXPECT_EQ(occupied_list(rules::rules_state().board),
                  occupied_list(board_from(crossed_blocks)));
        EXPECT_EQ(kind_counts(rules::rules_state().board), kind_counts(board_from(crossed_blocks)));
        EXPECT_GE(rules::count_open_pairs(), 1) << picture_of(rules::rules_state().board);
        EXPECT_FALSE(rules::reshuffle_due());
        EXPECT_EQ(rules::rules_state().tiles_left, 12);
    }
}

TEST_F(OpenPairs, ReshufflePlacesTheCollectedKindsByTheGenerator) {
    // Kinds collected in scan order A B B A C D D C E F F E; each occupied cell in turn
    // takes entry random below t, where t is the index of the last entry not yet placed.
    // clang-format off
    const struct {
        std::uint32_t seed;
        Picture expected;
    } cases[] = {
        {1, {
            "..................",
            "..................",
            "..EF........BD....",
            "..CC........AD....",
            "..................",
            ".......AF.........",
            ".......EB.........",
            "..................",
            "..................",
            "..................",
            "..................",
        }},
        {2, {
            "..................",
            "..................",
            "..BF........EB....",
            "..DA........DC....",
            "..................",
            ".......AF.........",
            ".......CE.........",
            "..................",
            "..................",
            "..................",
            "..................",
        }},
    };
    // clang-format on
    for (const auto& c : cases) {
        place(crossed_blocks);
        seed_random(c.seed);
        rules::reshuffle_board(false);
        EXPECT_EQ(picture_of(rules::rules_state().board), picture_of(c.expected))
            << "seed " << c.seed;
        EXPECT_EQ(draws_since(c.seed), 11) << "one pass, no draw for the last cell";
    }
}

TEST_F(OpenPairs, ReshufflePassesUntilAPairIsOpen) {
    // One crossed block of four tiles: each pass draws three times (below 3, 2 and 1).
    const Picture block = {
        "..................", "..................", "..................", "..................",
        "......AB..........", "......BA..........", "..................", "..................",
        "..................", "..................", "..................",
    };
    int most_passes = 0;
    for (std::uint32_t seed = 1; seed <= 200 && most_passes < 3; ++seed) {
        place(block);
        seed_random(seed);
        rules::reshuffle_board(false);
        const int passes = draws_since(seed) / 3;
        ASSERT_GE(passes, 1);
        most_passes = std::max(most_passes, passes);
        EXPECT_FALSE(rules::reshuffle_due()) << passes << " passes";
        EXPECT_EQ(rules::count_open_pairs(), 2) << "two pairs side by side";
    }
    EXPECT_GE(most_passes, 3) << "no seed needed several passes";
}

TEST_F(OpenPairs, ReshuffleInTheFullGameShiftsAfterEachPass) {
    // clang-format off
    const Picture low_blocks = {
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..AB........EF....",
        "..BA........FE....",
        "..................",
        ".......CD.........",
        ".......DC.........",
        "..................",
    };
    // clang-format on
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        place(low_blocks);
        rules::rules_state().board_mode = 2;
        seed_random(seed);
        rules::reshuffle_board(true);
        std::vector<Cell> expected = {{2, 1}, {2, 2}, {3, 1},  {3, 2},  {7, 1},  {7, 2},
                                      {8, 1}, {8, 2}, {12, 1}, {12, 2}, {13, 1}, {13, 2}};
        EXPECT_EQ(occupied_list(rules::rules_state().board), expected)
            << picture_of(rules::rules_state().board);
        EXPECT_EQ(kind_counts(rules::rules_state().board), kind_counts(board_from(low_blocks)));

        place(low_blocks);
        seed_random(seed);
        rules::reshuffle_board(false);
        EXPECT_EQ(occupied_list(rules::rules_state().board), occupied_list(board_from(low_blocks)))
            << "training never shifts";
    }
}

TEST_F(OpenPairs, NoReshuffleWhileAPairIsOpenOrNoTileIsLeft) {
    place(one_open_pair_before_a_closed_one);
    seed_random(9);
    EXPECT_FALSE(rules::reshuffle_due());
    rules::reshuffle_board(true);
    EXPECT_EQ(picture_of(rules::rules_state().board),
              picture_of(one_open_pair_before_a_closed_one));
    EXPECT_EQ(random_state(), 9u);

    rules::rules_state().board.clear();
    rules::rules_state().tiles_left = 0;
    EXPECT_FALSE(rules::reshuffle_due());
    rules::reshuffle_board(true);
    EXPECT_EQ(random_state(), 9u);
}

TEST_F(OpenPairs, ABoardWhereNoKindRepeatsIsLeftAsItIs) {
    // No arrangement of these could ever open a pair; a pass after pass search would
    // never end. A kind twice among odd ones is enough for the search to end with it open.
    const Picture all_different = {
        "..................", "..................", "..................", "..................",
        "......AB..........", "......C...........", "..................", "..................",
        "..................", "..................", "..................",
    };
    const Picture one_kind_twice = {
        "..................", "..................", "..................", "..................",
        "......AB..........", "......CA..........", "......D...........", "..................",
        "..................", "..................", "..................",
    };
    place(all_different);
    seed_random(5);
    EXPECT_TRUE(rules::reshuffle_due());
    rules::reshuffle_board(true);
    EXPECT_EQ(picture_of(rules::rules_state().board), picture_of(all_different));

    place(one_kind_twice);
    ASSERT_EQ(rules::count_open_pairs(), 0);
    rules::reshuffle_board(false);
    EXPECT_EQ(kind_counts(rules::rules_state().board), kind_counts(board_from(one_kind_twice)));
    EXPECT_EQ(rules::count_open_pairs(), 1);
}

TEST_F(OpenPairs, ACountAboveTheTilesOnTheBoardNeverReadsBeyondThem) {
    // tiles_left is never recounted; should it ever exceed the tiles, only the kinds
    // actually collected are placed back.
    place(crossed_blocks);
    rules::rules_state().tiles_left = 40;
    seed_random(4);
    rules::reshuffle_board(false);
    EXPECT_EQ(kind_counts(rules::rules_state().board), kind_counts(board_from(crossed_blocks)));
    EXPECT_GE(rules::count_open_pairs(), 1);
}

void* no_memory(std::size_t) {
    return nullptr;
}

TEST_F(OpenPairs, AReshuffleListThatCannotBeAllocatedIsFatal) {
    place(crossed_blocks);
    rules::reshuffle_allocator = no_memory;
    rules::reshuffle_board(false);
    rules::reshuffle_allocator = std::malloc;

    EXPECT_EQ(picture_of(rules::rules_state().board), picture_of(crossed_blocks))
        << "the pass is abandoned";
    const auto& boxes = platform::recording_desktop().boxes;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "\xCD\xE5 \xE2\xFB\xE4\xE5\xEB\xE5\xED\xE0 \xEF\xE0\xEC\xFF\xF2\xFC !!!");
    platform::Message message;
    ASSERT_TRUE(platform::peek_message(message));
    EXPECT_EQ(message.type, platform::MessageType::quit);
}

}  // namespace
