// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Selecting and removing pairs: click sequences with the board, the flags and what
// each click reports; the removal delay and the finishing step.
#include "board/selection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/random.h"
#include "board/open_pairs.h"
#include "board/stage.h"
#include "board_picture.h"

namespace {

using board_test::board_from;
using board_test::BoardState;
using board_test::Picture;
using board_test::picture_of;
using board_test::play_board;
using rules::Cell;
using rules::ClickResult;

struct Step {
    bool finish;  // wait past the removal delay and run the full game's finishing step
    int x;
    int y;
};
Step click(int x, int y) {
    return {false, x, y};
}
Step finish() {
    return {true, 0, 0};
}

struct SelectionCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<Cell> emptied = {};
    int no_selection = 1;
    int removal_pending = 0;
    Cell selected = {};                     // checked while a tile is selected
    std::vector<ClickResult> results = {};  // what each click reported
    Cell partner = {};  // the last click's partner, checked for a deselect, removal or refusal
};

constexpr ClickResult ignored = ClickResult::ignored, selected = ClickResult::selected,
                      deselected = ClickResult::deselected, removed = ClickResult::removed,
                      refused = ClickResult::refused;

// clang-format off
const SelectionCase selection_cases[] = {
    {.name = "EmptyCellsAndTheRingAreIgnored",
     .steps = {click(5, 5), click(0, 0), click(17, 10)},
     .results = {ignored, ignored, ignored}},
    {.name = "CellsOffTheGridAreIgnored",
     .steps = {click(-1, 3), click(18, 2), click(3, 11), click(200, -7), click(2, -1)},
     .results = {ignored, ignored, ignored, ignored, ignored}},
    {.name = "FirstClickSelectsTheTile",
     .steps = {click(12, 2)},
     .no_selection = 0, .selected = {12, 2}, .results = {selected}},
    {.name = "TheSameTileAgainDeselects",
     .steps = {click(12, 2), click(12, 2)},
     .results = {selected, deselected}, .partner = {12, 2}},
    {.name = "AFurtherClickThenSelectsAnew",
     .steps = {click(12, 2), click(12, 2), click(2, 3)},
     .no_selection = 0, .selected = {2, 3}, .results = {selected, deselected, selected}},
    {.name = "AMatchingTileWithAPathRemovesBoth",
     .steps = {click(2, 2), click(3, 2)},
     .emptied = {{2, 2}, {3, 2}}, .removal_pending = 1, .results = {selected, removed},
     .partner = {2, 2}},
    {.name = "AnEmptyCellBetweenDoesNotDisturbTheSelection",
     .steps = {click(2, 2), click(7, 7), click(3, 2)},
     .emptied = {{2, 2}, {3, 2}}, .removal_pending = 1, .results = {selected, ignored, removed},
     .partner = {2, 2}},
    {.name = "SameKindWithoutAPathIsRefused",
     .steps = {click(5, 7), click(9, 5)},
     .results = {selected, refused}, .partner = {5, 7}},
    {.name = "AfterARefusalTheNextClickSelects",
     .steps = {click(5, 7), click(9, 5), click(12, 2)},
     .no_selection = 0, .selected = {12, 2}, .results = {selected, refused, selected}},
    {.name = "DifferentKindsSideBySideAreRefused",
     .steps = {click(2, 2), click(2, 3)},
     .results = {selected, refused}, .partner = {2, 2}},
    {.name = "EveryTileIsRefusedWhileARemovalIsPending",
     .steps = {click(2, 2), click(3, 2), click(12, 2), click(12, 2), click(2, 3)},
     .emptied = {{2, 2}, {3, 2}}, .removal_pending = 1,
     .results = {selected, removed, refused, refused, refused}, .partner = {2, 2}},
    {.name = "TheEmptiedCellsIgnoreClicksWhilePending",
     .steps = {click(2, 2), click(3, 2), click(2, 2)},
     .emptied = {{2, 2}, {3, 2}}, .removal_pending = 1, .results = {selected, removed, ignored}},
    {.name = "APathAroundTheRingRemovesBoth",
     .steps = {click(1, 9), click(16, 9)},
     .emptied = {{1, 9}, {16, 9}}, .removal_pending = 1, .results = {selected, removed},
     .partner = {1, 9}},
    {.name = "AfterTheFinishingStepTheNextClickSelects",
     .steps = {click(2, 2), click(3, 2), finish(), click(12, 2)},
     .emptied = {{2, 2}, {3, 2}}, .no_selection = 0, .selected = {12, 2},
     .results = {selected, removed, selected}},
};
// clang-format on

class Selection : public BoardState {
  protected:
    void SetUp() override {
        BoardState::SetUp();
        rules::rules_state().board_mode = 1;
        seed_random(1);
    }

    // Runs the steps; the outcome of every click, in order.
    std::vector<rules::ClickOutcome> run(const std::vector<Step>& steps) {
        std::vector<rules::ClickOutcome> outcomes;
        for (const Step& step : steps) {
            if (step.finish) {
                clock_.advance_us(100001);
                EXPECT_TRUE(rules::removal_due());
                rules::finish_removal(true);
            } else {
                outcomes.push_back(rules::click_cell(step.x, step.y));
            }
        }
        return outcomes;
    }
};

void PrintTo(const SelectionCase& c, std::ostream* os) {
    *os << c.name;
}

class SelectionTable : public Selection, public testing::WithParamInterface<SelectionCase> {};

TEST_P(SelectionTable, ClickSequence) {
    const SelectionCase& c = GetParam();
    place(play_board);
    const std::vector<rules::ClickOutcome> outcomes = run(c.steps);

    const rules::RulesState& r = rules::rules_state();
    rules::Board expected = board_from(play_board);
    for (const Cell& e : c.emptied)
        expected.at(e.column, e.row) = rules::empty_cell;
    EXPECT_EQ(picture_of(r.board), picture_of(expected));
    EXPECT_EQ(r.no_selection, c.no_selection);
    EXPECT_EQ(r.removal_pending, c.removal_pending);
    if (c.no_selection == 0) {
        EXPECT_EQ(r.selected_cell, c.selected);
    }
    std::vector<ClickResult> results;
    for (const rules::ClickOutcome& o : outcomes)
        results.push_back(o.result);
    EXPECT_EQ(results, c.results);
    ASSERT_EQ(outcomes.size(), c.results.size());
    const rules::ClickOutcome& last = outcomes.back();
    const Step& last_click = c.steps.back().finish ? c.steps[c.steps.size() - 2] : c.steps.back();
    EXPECT_EQ(last.cell, (Cell{last_click.x, last_click.y}));
    if (last.result == deselected || last.result == removed || last.result == refused) {
        EXPECT_EQ(last.partner, c.partner);
    }
}

INSTANTIATE_TEST_SUITE_P(Clicks, SelectionTable, testing::ValuesIn(selection_cases),
                         [](const testing::TestParamInfo<SelectionCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(Selection, ARemovalReportsThePathItFound) {
    place(play_board);
    rules::click_cell(1, 9);
    const rules::ClickOutcome outcome = rules::click_cell(16, 9);
    ASSERT_EQ(outcome.result, removed);
    // Around the ring below the bottom row: down from the clicked tile, across, up.
    EXPECT_EQ(outcome.path.first, (Cell{16, 10}));
    EXPECT_EQ(outcome.path.second, (Cell{1, 10}));
    EXPECT_EQ(rules::rules_state().path_corner1, outcome.path.first);
    EXPECT_EQ(rules::rules_state().path_corner2, outcome.path.second);
}

TEST_F(Selection, TheRemovalIsDueOnlyAfterMoreThanATenthOfASecond) {
    place(play_board);
    EXPECT_FALSE(rules::removal_due());
    rules::click_cell(2, 2);
    rules::click_cell(3, 2);
    clock_.advance_us(100000);
    EXPECT_FALSE(rules::removal_due());
    clock_.advance_ticks(9);  // 100000.9 us reads as 100000
    EXPECT_FALSE(rules::removal_due());
    clock_.advance_ticks(1);
    EXPECT_TRUE(rules::removal_due());
}

TEST_F(Selection, RemovedCellsReadEmptyAtOnceAndAreCountedOffLater) {
    place(play_board);
    EXPECT_EQ(rules::count_open_pairs(), 2);  // the A pair and the F pair
    rules::click_cell(2, 2);
    rules::click_cell(3, 2);
    EXPECT_EQ(rules::rules_state().tiles_left, 14);
    EXPECT_EQ(rules::count_open_pairs(), 1);
    clock_.advance_us(100001);
    rules::finish_removal(false);
    EXPECT_EQ(rules::rules_state().tiles_left, 12);
}

TEST_F(Selection, FinishingInTheFullGameShiftsOnceAndScoresTen) {
    place(play_board);
    rules::rules_state().board_mode = 3;  // tiles slide down
    rules::rules_state().score = 70;
    rules::click_cell(2, 2);
    rules::click_cell(3, 2);
    rules::finish_removal(true);

    rules::Board expected = board_from(play_board);
    expected.at(2, 2) = rules::empty_cell;
    expected.at(3, 2) = rules::empty_cell;
    rules::shift_board(expected, 3);
    EXPECT_EQ(picture_of(rules::rules_state().board), picture_of(expected));
    EXPECT_EQ(rules::rules_state().score, 80);
    EXPECT_EQ(rules::rules_state().tiles_left, 12);
    EXPECT_EQ(rules::rules_state().removal_pending, 0);
}

TEST_F(Selection, FinishingInTrainingNeitherShiftsNorScores) {
    place(play_board);
    rules::rules_state().board_mode = 3;
    rules::rules_state().score = 70;
    rules::click_cell(2, 2);
    rules::click_cell(3, 2);
    rules::finish_removal(false);

    rules::Board expected = board_from(play_board);
    expected.at(2, 2) = rules::empty_cell;
    expected.at(3, 2) = rules::empty_cell;
    EXPECT_EQ(picture_of(rules::rules_state().board), picture_of(expected));
    EXPECT_EQ(rules::rules_state().score, 70);
}

}  // namespace
