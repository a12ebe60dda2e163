// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Play on the board as the player meets it: what each click and finishing step draws,
// sounds and puts in the title, on a real window with the tile pictures left empty (a
// plainly drawn tile is black, so it shows by wiping what was drawn over its cell).
#include "flow/board_play.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/random.h"
#include "board/board_picture.h"
#include "board/open_pairs.h"
#include "board/selection.h"
#include "flow/board_view.h"
#include "flow/flow.h"
#include "platform/desktop.h"

namespace {

using board_test::Picture;
using board_test::play_board;
using platform::Pixel;
using rules::Cell;

constexpr Pixel black = 0;
constexpr Pixel green = platform::to_pixel(platform::rgb(0, 255, 0));
constexpr Pixel violet = platform::to_pixel(platform::rgb(128, 0, 255));
constexpr Pixel red = platform::to_pixel(platform::rgb(255, 0, 0));

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

class BoardPlay : public board_test::BoardState {
  protected:
    void SetUp() override {
        BoardState::SetUp();
        flow::reset_flow_state();
        window_.resize(648, 528);
        seed_random(1);
    }
    void TearDown() override {
        flow::reset_board_pictures();
        flow::reset_flow_state();
        BoardState::TearDown();
    }

    void click(int column, int row) { flow::click_board_cell(window_, column, row); }
    Pixel pixel(int x, int y) const { return window_.framebuffer().at(x, y); }
    platform::Window window_;
};

struct PixelCheck {
    int x;
    int y;
    Pixel colour;
};

struct ClickCase {
    const char* name;
    std::vector<Cell> clicks;
    std::vector<std::string> effects = {};
    bool window_changed = true;
    std::vector<PixelCheck> pixels = {};
};
void PrintTo(const ClickCase& c, std::ostream* os) {
    *os << c.name;
}

// clang-format off
const ClickCase click_cases[] = {
    {.name = "AnIgnoredClickDrawsNothing",
     .clicks = {{5, 5}, {0, 0}, {-1, 3}}, .window_changed = false},
    {.name = "ASelectedTileIsOutlinedInGreen",
     .clicks = {{12, 2}},
     .pixels = {{cx(12), top_edge(2), green}, {cx(12), cy(2), black},
                {cx(2), top_edge(2), black}}},
    {.name = "ADeselectedTileIsDrawnPlainlyOverItsOutline",
     .clicks = {{12, 2}, {12, 2}},
     .pixels = {{cx(12), top_edge(2), black}}},
    {.name = "ARemovalSoundsAndDrawsItsPathInViolet",
     .clicks = {{2, 2}, {3, 2}},
     .effects = {ok},
     .pixels = {{(cx(2) + cx(3)) / 2, cy(2), violet}, {cx(2), cy(2), violet},
                {cx(3), cy(2), violet}, {cx(2), top_edge(2), green},
                {cx(3), top_edge(2), black}}},
    {.name = "APathAroundTheRingIsDrawnOverTheRing",
     .clicks = {{1, 9}, {16, 9}},
     .effects = {ok},
     .pixels = {{cx(8), cy(10), violet}, {cx(16), (cy(9) + cy(10)) / 2, violet},
                {cx(1), (cy(9) + cy(10)) / 2, violet}, {cx(8), cy(9) - 10, black}}},
    {.name = "ARefusalDrawsTheDroppedTilePlainlyAndSounds",
     .clicks = {{5, 7}, {9, 5}},
     .effects = {no},
     .pixels = {{cx(5), top_edge(7), black}, {cx(9), cy(6), black}}},
    {.name = "RefusalsWhilePendingDrawNothingOnTheEmptiedCells",
     .clicks = {{2, 2}, {3, 2}, {12, 2}, {12, 2}, {2, 3}},
     .effects = {ok, no, no, no},
     .pixels = {{cx(12), top_edge(2), black}, {cx(2), top_edge(2), green},
                {(cx(2) + cx(3)) / 2, cy(2), violet}}},
};
// clang-format on

class BoardPlayClicks : public BoardPlay, public testing::WithParamInterface<ClickCase> {};

TEST_P(BoardPlayClicks, DrawsAndSoundsWhatTheRulesReport) {
    const ClickCase& c = GetParam();
    place(play_board);
    const std::uint64_t changes_before = window_.framebuffer().changes;
    for (const Cell& cell : c.clicks)
        click(cell.column, cell.row);
    EXPECT_EQ(effects(), c.effects);
    EXPECT_EQ(window_.framebuffer().changes != changes_before, c.window_changed);
    for (const PixelCheck& p : c.pixels) {
        EXPECT_EQ(pixel(p.x, p.y), p.colour) << "pixel (" << p.x << ", " << p.y << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(Clicks, BoardPlayClicks, testing::ValuesIn(click_cases),
                         [](const testing::TestParamInfo<ClickCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(BoardPlay, TheOutlineRunsOnePixelInsideTheCell) {
    place(play_board);
    click(12, 2);
    const int left = 12 * 36, top = 2 * 48;
    EXPECT_EQ(pixel(left + 1, top + 24), green);
    EXPECT_EQ(pixel(left + 35, top + 24), green);
    EXPECT_EQ(pixel(left + 18, top + 47), green);
    EXPECT_EQ(pixel(left + 3, top + 24), black);
    EXPECT_EQ(pixel(left + 18, top + 45), black);
}

// clang-format off
// After C C goes only the crossed A B block is left, where no pair is open.
const Picture last_open_pair = {
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
};
// clang-format on

TEST_F(BoardPlay, FinishingReshufflesOnceThenRepaintsAndSetsTheTitle) {
    flow::flow_state().game_state = TRAINING_PLAY;  // its repaint is the board and the title
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        place(last_open_pair);
        effects().clear();
        seed_random(seed);
        click(10, 7);
        click(11, 7);
        ASSERT_EQ(pixel((cx(10) + cx(11)) / 2, cy(7)), violet);
        // A mark over a tile that stays: the repaint draws the tile over it.
        platform::fill_rect(window_.dc(), cx(2) - 2, cy(2) - 2, cx(2) + 2, cy(2) + 2, 0x00FF00);
        ASSERT_EQ(pixel(cx(2), cy(2)), green);
        flow::finish_board_removal(window_, false);
        // However many passes the reshuffle took, it sounds once.
        EXPECT_EQ(effects(), (std::vector<std::string>{ok, "RESHUFFLE"})) << "seed " << seed;
        EXPECT_EQ(rules::count_open_pairs(), 2);
        EXPECT_EQ(pixel(cx(2), cy(2)), black) << "no repaint";
        // The title is set after the reshuffle, with the new count.
        EXPECT_NE(platform::recording_desktop().title.find(" 2 "), std::string::npos);
    }
}

TEST_F(BoardPlay, FinishingWithAPairStillOpenNeitherReshufflesNorSounds) {
    place(play_board);
    click(2, 2);
    click(3, 2);
    effects().clear();
    flow::finish_board_removal(window_, true);
    EXPECT_TRUE(effects().empty());
    EXPECT_EQ(rules::rules_state().tiles_left, 12);
    EXPECT_EQ(rules::rules_state().score, 10);
    EXPECT_FALSE(platform::recording_desktop().title.empty());
}

TEST_F(BoardPlay, ShowHintOutlinesBothCellsInRed) {
    // clang-format off
    place(board_test::one_open_pair_before_a_closed_one);
    // clang-format on
    const platform::PenObject before = window_.dc().pen;
    flow::show_hint(window_);
    for (const Cell& c : {Cell{3, 3}, Cell{3, 5}}) {
        const int left = c.column * 36, top = c.row * 48;
        EXPECT_EQ(pixel(left + 18, top + 1), red) << "top edge";
        EXPECT_EQ(pixel(left + 18, top + 47), red) << "bottom edge";
        EXPECT_EQ(pixel(left + 1, top + 24), red) << "left edge";
        EXPECT_EQ(pixel(left + 35, top + 24), red) << "right edge";
        EXPECT_EQ(pixel(left + 18, top + 24), black) << "inside";
    }
    EXPECT_EQ(pixel(14 * 36 + 18, 5 * 48 + 1), black) << "the closed B is not outlined";
    EXPECT_EQ(window_.dc().pen.colour, before.colour) << "the pen is put back";
    EXPECT_EQ(window_.dc().pen.width, before.width);
}

TEST_F(BoardPlay, ShowHintDrawsNothingWithoutAnOpenPair) {
    place(last_open_pair);
    rules::rules_state().board.at(10, 7) = rules::empty_cell;
    rules::rules_state().board.at(11, 7) = rules::empty_cell;
    const std::uint64_t changes = window_.framebuffer().changes;
    flow::show_hint(window_);
    EXPECT_EQ(window_.framebuffer().changes, changes);
}

}  // namespace
