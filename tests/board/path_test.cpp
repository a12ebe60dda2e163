// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Path search: every shape in its order of preference, the ring on every side, pairs
// that would need three turns, and agreement with a plain reachability search on
// random boards.
#include "board/path.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "board_picture.h"

namespace {

using board_test::board_from;
using board_test::find_char;
using board_test::Picture;
using rules::Cell;
using rules::PathCorners;

struct PathCase {
    const char* name;
    Picture rows;  // 'S' start, 'T' target, '#' obstacles
    bool connected;
    Cell corner1;
    Cell corner2;
};

// clang-format off
const PathCase path_cases[] = {
    {"StraightNeighboursInARow", {
        "..................",
        "...ST.............",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        ".................."}, true, {3, 1}, {3, 1}},
    {"StraightDownAColumn", {
        "..................",
        "..................",
        ".....S............",
        "....#.#...........",
        "....#.#...........",
        "....#.#...........",
        ".....T............",
        "..................",
        "..................",
        "..................",
        ".................."}, true, {5, 2}, {5, 2}},
    {"OneTurnPrefersHorizontalFirst", {
        "..................",
        "..................",
        "..S...............",
        "..................",
        "..................",
        "......T...........",
        "..................",
        "..................",
        "..................",
        "..................",
        ".................."}, true, {6, 2}, {6, 2}},
    {"OneTurnVerticalFirstWhenTheCornerIsTaken", {
        "..................",
        "..................",
        "..S...#...........",
        "..................",
        "..................",
        "......T...........",
        "..................",
        "..................",
        "..................",
        "..................",
        ".................."}, true, {2, 5}, {2, 5}},
    {"OneTurnVerticalFirstWhenTheSecondLegIsBlocked", {
        "..................",
        "..................",
        "..S...............",
        "..................",
        "......#...........",
        "......T...........",
        "..................",
        "..................",
        "..................",
        "..................",
        ".................."}, true, {2, 5}, {2, 5}},
    {"TwoTurnsThroughTheNearestColumnOnTheLeft", {
        "..................",
        "..................",
        "........S.........",
        "..................",
        "........#.........",
        "..................",
        "........T.........",
        "..................",
        "..................",
        "..................",
        ".................."}, true, {7, 2}, {7, 6}},
    {"LeftColumnsBeforeANearerOneOnTheRight", {
        "..................",
        "..................",
        "........S.........",
        "..................",
        ".......##.........",
        "..................",
        "........T.........",
        "..................",
        "..................",
        "..................",
        ".................."}, true, {6, 2}, {6, 6}},
    {"RightColumnWhenEveryLeftOneIsBlocked", {
        "..................",
        "..................",
        ".#S...............",
        "..................",
        "..#...............",
        "..................",
        "..T...............",
        "..................",
        "..................",
        "..................",
        ".................."}, true, {3, 2}, {3, 6}},
    {"TwoTurnsThroughTheNearestRowAbove", {
        "..................",
        "..................",
        "..................",
        ".....S.#.T........",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        ".................."}, true, {5, 2}, {9, 2}},
    {"RowsAboveBeforeANearerOneBelow", {
        "..................",
        "..................",
        ".......#..........",
        ".....S.#.T........",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        ".................."}, true, {5, 1}, {9, 1}},
    {"AroundTheTopRing", {
        "..................",
        "...S#####T........",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        ".................."}, true, {3, 0}, {9, 0}},
    {"AroundTheBottomRing", {
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..#...............",
        "..S#########T.....",
        ".................."}, true, {2, 10}, {12, 10}},
    {"AroundTheLeftRing", {
        "..................",
        "..................",
        ".S................",
        "..................",
        ".#................",
        "..................",
        "..................",
        ".T................",
        "..................",
        "..................",
        ".................."}, true, {0, 2}, {0, 7}},
    {"AroundTheRightRing", {
        "..................",
        "..................",
        "..................",
        "...............#S.",
        "..................",
        "................#.",
        "..................",
        "..................",
        "................T.",
        "..................",
        ".................."}, true, {17, 3}, {17, 8}},
    {"EndsOfAFullRowThroughTheTopRing", {
        "..................",
        "........#.........",
        "........#.........",
        "........#.........",
        "........#.........",
        ".S##############T.",
        "..................",
        "..................",
        "..................",
        "..................",
        ".................."}, true, {1, 0}, {16, 0}},
    {"EndsOfAFullRowThroughTheBottomRing", {
        "..................",
        "........#.........",
        ".#......#.........",
        "........#.........",
        "........#.........",
        ".S##############T.",
        "........#.........",
        "........#.........",
        "........#.........",
        "........#.........",
        ".................."}, true, {1, 10}, {16, 10}},
    {"ThreeTurnsAreRefused", {
        "..................",
        ".################.",
        ".#S..############.",
        ".###.############.",
        ".###...##########.",
        ".#####T##########.",
        ".################.",
        ".################.",
        ".################.",
        ".################.",
        ".................."}, false, {-1, -1}, {-1, -1}},
    {"WalledInIsRefused", {
        "..................",
        "..................",
        "..#...............",
        ".#S#..............",
        "..#...............",
        "..................",
        "..........T.......",
        "..................",
        "..................",
        "..................",
        ".................."}, false, {-1, -1}, {-1, -1}},
};
// clang-format on

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.name;
}

class FindPath : public testing::TestWithParam<PathCase> {};

TEST_P(FindPath, ConnectsByTheFirstShapeInOrder) {
    const PathCase& c = GetParam();
    const rules::Board b = board_from(c.rows);
    const Cell s = find_char(c.rows, 'S');
    const Cell t = find_char(c.rows, 'T');
    PathCorners corners{{99, 99}, {99, 99}};
    EXPECT_EQ(rules::find_path(b, t.column, t.row, s.column, s.row, corners), c.connected);
    EXPECT_EQ(corners.first, c.corner1)
        << "corner1 = (" << corners.first.column << ", " << corners.first.row << ")";
    EXPECT_EQ(corners.second, c.corner2)
        << "corner2 = (" << corners.second.column << ", " << corners.second.row << ")";
}

TEST_P(FindPath, ProgramWideFormLeavesTheSameCorners) {
    const PathCase& c = GetParam();
    rules::rules_state().board = board_from(c.rows);
    const Cell s = find_char(c.rows, 'S');
    const Cell t = find_char(c.rows, 'T');
    rules::rules_state().path_corner1 = {99, 99};
    rules::rules_state().path_corner2 = {99, 99};
    EXPECT_EQ(rules::find_path(t.column, t.row, s.column, s.row), c.connected ? 1 : 0);
    EXPECT_EQ(rules::rules_state().path_corner1, c.corner1);
    EXPECT_EQ(rules::rules_state().path_corner2, c.corner2);
    rules::reset_rules_state();
}

INSTANTIATE_TEST_SUITE_P(Shapes, FindPath, testing::ValuesIn(path_cases),
                         [](const testing::TestParamInfo<PathCase>& param) {
                             return std::string(param.param.name);
                         });

TEST(FindPathCorners, DependOnWhichEndIsTheStart) {
    // Same pair as AroundTheTopRing, searched from the other end.
    const rules::Board b = board_from({
        "..................",
        "...T#####S........",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
        "..................",
    });
    PathCorners corners;
    ASSERT_TRUE(rules::find_path(b, 3, 1, 9, 1, corners));
    EXPECT_EQ(corners.first, (Cell{9, 0}));
    EXPECT_EQ(corners.second, (Cell{3, 0}));
}

// ---- Agreement with a plain search ---------------------------------------------------

// Whether target can be reached from start in at most three straight runs through
// empty cells: the cells reachable by k runs are grown ray by ray.
bool reachable_in_three_runs(const rules::Board& b, Cell start, Cell target) {
    std::vector<Cell> frontier{start};
    std::vector<bool> seen(rules::board_cells, false);
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int run = 0; run < 3; ++run) {
        std::vector<Cell> next;
        for (const Cell& from : frontier) {
            for (const auto& step : steps) {
                int x = from.column + step[0], y = from.row + step[1];
                while (rules::on_grid(x, y)) {
                    if (x == target.column && y == target.row) return true;
                    if (b.occupied(x, y)) break;
                    if (!seen[rules::Board::index(x, y)]) {
                        seen[rules::Board::index(x, y)] = true;
                        next.push_back({x, y});
                    }
                    x += step[0];
                    y += step[1];
                }
            }
        }
        frontier = std::move(next);
    }
    return false;
}

// Every cell strictly between a and b on a straight leg is empty.
bool leg_clear(const rules::Board& b, Cell a, Cell c, Cell start, Cell target) {
    if (a.column != c.column && a.row != c.row) return false;
    const int dx = rules::sign_of(c.column - a.column), dy = rules::sign_of(c.row - a.row);
    for (Cell p = a; !(p == c);) {
        p = {p.column + dx, p.row + dy};
        if (!(p == target) && !(p == start) && b.occupied(p.column, p.row)) return false;
    }
    return true;
}

TEST(FindPathRandomBoards, AgreesWithReachabilityAndDrawsAValidPath) {
    std::mt19937 gen(20240601);
    int connected = 0, refused = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        rules::Board b;
        b.clear();
        const int percent = 30 + static_cast<int>(gen() % 50);
        for (int x = 1; x <= 16; ++x) {
            for (int y = 1; y <= 9; ++y) {
                if (static_cast<int>(gen() % 100) < percent) b.at(x, y) = 0;
            }
        }
        Cell s{1 + static_cast<int>(gen() % 16), 1 + static_cast<int>(gen() % 9)};
        Cell t{1 + static_cast<int>(gen() % 16), 1 + static_cast<int>(gen() % 9)};
        if (s == t) continue;
        b.at(s.column, s.row) = 1;
        b.at(t.column, t.row) = 1;

        PathCorners corners;
        const bool found = rules::find_path(b, t.column, t.row, s.column, s.row, corners);
        ASSERT_EQ(found, reachable_in_three_runs(b, s, t)) << board_test::picture_of(b);
        PathCorners reverse;
        ASSERT_EQ(found, rules::find_path(b, s.column, s.row, t.column, t.row, reverse));
        if (found) {
            ++connected;
            EXPECT_TRUE(leg_clear(b, s, corners.first, s, t) &&
                        leg_clear(b, corners.first, corners.second, s, t) &&
                        leg_clear(b, corners.second, t, s, t))
                << board_test::picture_of(b);
        } else {
            ++refused;
            EXPECT_EQ(corners.first, (Cell{-1, -1}));
            EXPECT_EQ(corners.second, (Cell{-1, -1}));
        }
    }
    // Both outcomes must have been exercised for the comparison to mean anything.
    EXPECT_GT(connected, 500);
    EXPECT_GT(refused, 500);
}

}  // namespace
