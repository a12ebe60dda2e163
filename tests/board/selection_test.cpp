// Selecting and removing pairs: click sequences with the board, flags, effects, the
// tiles redrawn and the pixels of outlines and paths they leave; the finishing step.
#include "board/selection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/random.h"
#include "board/open_pairs.h"
#include "board/stage.h"
#include "board_picture.h"
#include "platform/window.h"

namespace {

using board_test::board_from;
using board_test::BoardState;
using board_test::Picture;
using board_test::picture_of;
using platform::Pixel;
using rules::Cell;

// clang-format off
// A A side by side with an E below the first; a B walled in by C, D, G and K with
// its partner free; F F on the bottom row, joined only around the ring below them.
const Picture play_board = {
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

constexpr Pixel black = 0;
constexpr Pixel green = platform::to_pixel(platform::rgb(0, 255, 0));
constexpr Pixel violet = platform::to_pixel(platform::rgb(128, 0, 255));

std::vector<Cell> drawn_tiles;
int redraws = 0;

void record_tile(platform::Window&, int column, int row) {
    drawn_tiles.push_back({column, row});
}
void record_redraw(platform::Window&) {
    ++redraws;
}

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

struct PixelCheck {
    int x;
    int y;
    Pixel colour;
};

struct SelectionCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<Cell> emptied = {};
    int no_selection = 1;
    int removal_pending = 0;
    Cell selected = {};  // checked while a tile is selected
    std::vector<std::string> effects = {};
    std::vector<Cell> drawn = {};  // tiles redrawn plainly through the screen hook
    bool window_changed = false;
    std::vector<PixelCheck> pixels = {};
};

// Pixel centres and outline edges for 36 x 48 cells.
int cx(int column) {
    return column * 36 + 18;
}
int cy(int row) {
    return row * 48 + 24;
}
int top_edge(int row) {
    return row * 48 + 1;
}

const std::string ok = "DELETE_OK", no = "DELETE_NO";

// clang-format off
const SelectionCase selection_cases[] = {
    {.name = "EmptyCellsAndTheRingAreIgnored",
     .steps = {click(5, 5), click(0, 0), click(17, 10)}},
    {.name = "CellsOffTheGridAreIgnored",
     .steps = {click(-1, 3), click(18, 2), click(3, 11), click(200, -7), click(2, -1)}},
    {.name = "FirstClickOutlinesTheTile",
     .steps = {click(12, 2)},
     .no_selection = 0, .selected = {12, 2}, .window_changed = true,
     .pixels = {{cx(12), top_edge(2), green}, {cx(12), cy(2), black},
                {cx(2), top_edge(2), black}}},
    {.name = "TheSameTileAgainDeselectsSilently",
     .steps = {click(12, 2), click(12, 2)},
     .drawn = {{12, 2}}, .window_changed = true},
    {.name = "AFurtherClickThenSelectsAnew",
     .steps = {click(12, 2), click(12, 2), click(2, 3)},
     .no_selection = 0, .selected = {2, 3}, .drawn = {{12, 2}}, .window_changed = true,
     .pixels = {{cx(2), top_edge(3), green}}},
    {.name = "AMatchingTileWithAPathRemovesBoth",
     .steps = {click(2, 2), click(3, 2)},
     .emptied = {{2, 2}, {3, 2}}, .removal_pending = 1, .effects = {ok}, .window_changed = true,
     .pixels = {{(cx(2) + cx(3)) / 2, cy(2), violet}, {cx(2), cy(2), violet},
                {cx(3), cy(2), violet}, {cx(2), top_edge(2), green},
                {cx(3), top_edge(2), black}}},
    {.name = "AnEmptyCellBetweenDoesNotDisturbTheSelection",
     .steps = {click(2, 2), click(7, 7), click(3, 2)},
     .emptied = {{2, 2}, {3, 2}}, .removal_pending = 1, .effects = {ok}, .window_changed = true,
     .pixels = {{(cx(2) + cx(3)) / 2, cy(2), violet}}},
    {.name = "SameKindWithoutAPathIsRefused",
     .steps = {click(5, 7), click(9, 5)},
     .effects = {no}, .drawn = {{5, 7}}, .window_changed = true,
     .pixels = {{cx(9), cy(6), black}}},
    {.name = "AfterARefusalTheNextClickSelects",
     .steps = {click(5, 7), click(9, 5), click(12, 2)},
     .no_selection = 0, .selected = {12, 2}, .effects = {no}, .drawn = {{5, 7}},
     .window_changed = true, .pixels = {{cx(12), top_edge(2), green}}},
    {.name = "DifferentKindsSideBySideAreRefused",
     .steps = {click(2, 2), click(2, 3)},
     .effects = {no}, .drawn = {{2, 2}}, .window_changed = true},
    {.name = "EveryTileIsRefusedWhileARemovalIsPending",
     .steps = {click(2, 2), click(3, 2), click(12, 2), click(12, 2), click(2, 3)},
     .emptied = {{2, 2}, {3, 2}}, .removal_pending = 1, .effects = {ok, no, no, no},
     .window_changed = true, .pixels = {{cx(12), top_edge(2), black}}},
    {.name = "TheEmptiedCellsIgnoreClicksWhilePending",
     .steps = {click(2, 2), click(3, 2), click(2, 2)},
     .emptied = {{2, 2}, {3, 2}}, .removal_pending = 1, .effects = {ok}, .window_changed = true},
    {.name = "APathAroundTheRingIsDrawnOverTheRing",
     .steps = {click(1, 9), click(16, 9)},
     .emptied = {{1, 9}, {16, 9}}, .removal_pending = 1, .effects = {ok}, .window_changed = true,
     .pixels = {{cx(8), cy(10), violet}, {cx(16), (cy(9) + cy(10)) / 2, violet},
                {cx(1), (cy(9) + cy(10)) / 2, violet}, {cx(8), cy(9) - 10, black}}},
    {.name = "AfterTheFinishingStepTheNextClickSelects",
     .steps = {click(2, 2), click(3, 2), finish(), click(12, 2)},
     .emptied = {{2, 2}, {3, 2}}, .no_selection = 0, .selected = {12, 2}, .effects = {ok},
     .window_changed = true, .pixels = {{cx(12), top_edge(2), green}}},
};
// clang-format on

class Selection : public BoardState {
  protected:
    void SetUp() override {
        BoardState::SetUp();
        window_.resize(648, 528);
        drawn_tiles.clear();
        redraws = 0;
        rules::board_screen() = {record_tile, record_redraw};
        rules::board_mode = 1;
        seed_random(1);
    }
    void TearDown() override {
        rules::board_screen() = {};
        BoardState::TearDown();
    }

    void run(const std::vector<Step>& steps) {
        for (const Step& step : steps) {
            if (step.finish) {
                clock_.advance_us(100001);
                ASSERT_TRUE(rules::removal_due());
                rules::finish_removal(window_, true);
            } else {
                rules::click_cell(window_, step.x, step.y);
            }
        }
    }

    Pixel pixel(int x, int y) const { return window_.framebuffer().at(x, y); }
    platform::Window window_;
};

void PrintTo(const SelectionCase& c, std::ostream* os) {
    *os << c.name;
}

class SelectionTable : public Selection, public testing::WithParamInterface<SelectionCase> {};

TEST_P(SelectionTable, ClickSequence) {
    const SelectionCase& c = GetParam();
    place(play_board);
    const std::uint64_t changes_before = window_.framebuffer().changes;
    run(c.steps);

    rules::Board expected = board_from(play_board);
    for (const Cell& e : c.emptied)
        expected.at(e.column, e.row) = rules::empty_cell;
    EXPECT_EQ(picture_of(rules::board), picture_of(expected));
    EXPECT_EQ(rules::no_selection, c.no_selection);
    EXPECT_EQ(rules::removal_pending, c.removal_pending);
    if (c.no_selection == 0) {
        EXPECT_EQ(rules::selected_cell, c.selected);
    }
    EXPECT_EQ(effects(), c.effects);
    EXPECT_EQ(drawn_tiles, c.drawn);
    EXPECT_EQ(window_.framebuffer().changes != changes_before, c.window_changed);
    for (const PixelCheck& p : c.pixels) {
        EXPECT_EQ(pixel(p.x, p.y), p.colour) << "pixel (" << p.x << ", " << p.y << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(Clicks, SelectionTable, testing::ValuesIn(selection_cases),
                         [](const testing::TestParamInfo<SelectionCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(Selection, OutlineAndPathFollowTheCellGeometry) {
    place(play_board);
    rules::click_cell(window_, 12, 2);
    // The outline runs one pixel inside the cell on every side.
    const int left = 12 * 36, top = 2 * 48;
    EXPECT_EQ(pixel(left + 1, top + 24), green);
    EXPECT_EQ(pixel(left + 35, top + 24), green);
    EXPECT_EQ(pixel(left + 18, top + 47), green);
    EXPECT_EQ(pixel(left + 3, top + 24), black);
    EXPECT_EQ(pixel(left + 18, top + 45), black);
    EXPECT_EQ(rules::cell_center_x(12), left + 18);
    EXPECT_EQ(rules::cell_center_y(2), top + 24);
}

TEST_F(Selection, TheRemovalIsDueOnlyAfterMoreThanATenthOfASecond) {
    place(play_board);
    EXPECT_FALSE(rules::removal_due());
    rules::click_cell(window_, 2, 2);
    rules::click_cell(window_, 3, 2);
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
    rules::click_cell(window_, 2, 2);
    rules::click_cell(window_, 3, 2);
    EXPECT_EQ(rules::tiles_left, 14);
    EXPECT_EQ(rules::count_open_pairs(), 1);
    clock_.advance_us(100001);
    rules::finish_removal(window_, false);
    EXPECT_EQ(rules::tiles_left, 12);
}

TEST_F(Selection, FinishingInTheFullGameShiftsOnceAndScoresTen) {
    place(play_board);
    rules::board_mode = 3;  // tiles slide down
    rules::score = 70;
    rules::click_cell(window_, 2, 2);
    rules::click_cell(window_, 3, 2);
    rules::finish_removal(window_, true);

    rules::Board expected = board_from(play_board);
    expected.at(2, 2) = rules::empty_cell;
    expected.at(3, 2) = rules::empty_cell;
    rules::shift_board(expected, 3);
    EXPECT_EQ(picture_of(rules::board), picture_of(expected));
    EXPECT_EQ(rules::score, 80);
    EXPECT_EQ(rules::tiles_left, 12);
    EXPECT_EQ(rules::removal_pending, 0);
    EXPECT_EQ(redraws, 1);
    EXPECT_FALSE(platform::recording_desktop().title.empty());
}

TEST_F(Selection, FinishingInTrainingNeitherShiftsNorScores) {
    place(play_board);
    rules::board_mode = 3;
    rules::score = 70;
    rules::click_cell(window_, 2, 2);
    rules::click_cell(window_, 3, 2);
    rules::finish_removal(window_, false);

    rules::Board expected = board_from(play_board);
    expected.at(2, 2) = rules::empty_cell;
    expected.at(3, 2) = rules::empty_cell;
    EXPECT_EQ(picture_of(rules::board), picture_of(expected));
    EXPECT_EQ(rules::score, 70);
    EXPECT_EQ(redraws, 1);
}

TEST_F(Selection, FinishingReshufflesWhenTheLastOpenPairIsGone) {
    // clang-format off
    place({
        "..................",
        "..................",
        "..AB..............",
        "..BA..............",
        "..................",
        "..................",
        "..................",
        "..........CC......",
        "..................",
        "..................",
        "..................",
    });
    // clang-format on
    rules::click_cell(window_, 10, 7);
    rules::click_cell(window_, 11, 7);
    rules::finish_removal(window_, false);
    EXPECT_EQ(effects(), (std::vector<std::string>{"DELETE_OK", "RESHUFFLE"}));
    EXPECT_EQ(rules::count_open_pairs(), 2);
    EXPECT_EQ(board_test::occupied_cells(rules::board), 4);
    // The title is set after the reshuffle, with the new count.
    EXPECT_NE(platform::recording_desktop().title.find(" 2 "), std::string::npos);
}

}  // namespace
