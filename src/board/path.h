// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The connection rule: two cells are joined by a path of at most three straight runs
// (two turns) through empty cells anywhere on the grid, the empty ring included.
// The search tries its shapes in a fixed order, and that order decides which path
// is drawn and which pair the hint shows.
#pragma once

#include "board/board.h"

namespace rules {

// 1 when v > 0, 0 when v = 0, -1 when v < 0.
constexpr int sign_of(int v) {
    return (v > 0) - (v < 0);
}

// Whether start (sx, sy) and target (tx, ty) are connected on b. The cells must differ
// and lie on the grid; their own values are not looked at. On success corners holds
// the path start -> first -> second -> target (a leg may have length 0); on failure
// all four coordinates are -1. Tries, in order: straight; one turn horizontal first,
// then vertical first; two turns through a column (left of the start nearest first,
// then right); two turns through a row (above the start nearest first, then below).
bool find_path(const Board& b, int tx, int ty, int sx, int sy, PathCorners& corners);

// The same on the program's board, leaving the corners in path_corner1 and path_corner2.
// Returns 1 when connected, 0 when not.
int find_path(int tx, int ty, int sx, int sy);

}  // namespace rules
