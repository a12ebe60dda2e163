// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Path search over the grid in the rule's fixed order of shapes.
#include "board/path.h"

namespace rules {

namespace {

// Steps from (x, y) by (dx, dy) until (stop_x, stop_y); every cell stepped onto
// before it must be empty. With reach_target the stop cell itself is the target and
// is not looked at; otherwise it must be empty too.
bool clear_run(const Board& b, int x, int y, int dx, int dy, int stop_x, int stop_y,
               bool reach_target) {
    while (x != stop_x || y != stop_y) {
        x += dx;
        y += dy;
        if (x == stop_x && y == stop_y && reach_target) return true;
        if (b.occupied(x, y)) return false;
    }
    return true;
}

// Every cell of column x from row y0 to row y1, both included, is empty.
bool column_clear(const Board& b, int x, int y0, int y1) {
    const int step = sign_of(y1 - y0);
    for (int y = y0;; y += step) {
        if (b.occupied(x, y)) return false;
        if (y == y1) return true;
    }
}

// Every cell of row y from column x0 to column x1, both included, is empty.
bool row_clear(const Board& b, int y, int x0, int x1) {
    const int step = sign_of(x1 - x0);
    for (int x = x0;; x += step) {
        if (b.occupied(x, y)) return false;
        if (x == x1) return true;
    }
}

// Every cell of row y from column from towards column to, from included and to
// excluded, is empty.
bool row_clear_before(const Board& b, int y, int from, int to) {
    const int step = sign_of(to - from);
    for (int x = from; x != to; x += step) {
        if (b.occupied(x, y)) return false;
    }
    return true;
}

bool column_clear_before(const Board& b, int x, int from, int to) {
    const int step = sign_of(to - from);
    for (int y = from; y != to; y += step) {
        if (b.occupied(x, y)) return false;
    }
    return true;
}

bool through_column(const Board& b, int x, int tx, int ty, int sx, int sy, PathCorners& corners) {
    if (sy != ty && !column_clear(b, x, sy, ty)) return false;
    corners = {{x, sy}, {x, ty}};
    return row_clear_before(b, sy, x, sx) && row_clear_before(b, ty, x, tx);
}

bool through_row(const Board& b, int y, int tx, int ty, int sx, int sy, PathCorners& corners) {
    if (sx != tx && !row_clear(b, y, sx, tx)) return false;
    corners = {{sx, y}, {tx, y}};
    return column_clear_before(b, sx, y, sy) && column_clear_before(b, tx, y, ty);
}

bool search(const Board& b, int tx, int ty, int sx, int sy, PathCorners& corners) {
    const int dx = sign_of(tx - sx);
    const int dy = sign_of(ty - sy);
    corners = {{sx, sy}, {sx, sy}};

    if (dx == 0 || dy == 0) {
        if (clear_run(b, sx, sy, dx, dy, tx, ty, true)) return true;
    } else {
        // Horizontal first, turning at (tx, sy), which the first run must find empty.
        if (clear_run(b, sx, sy, dx, 0, tx, sy, false) &&
            clear_run(b, tx, sy, 0, dy, tx, ty, true)) {
            corners = {{tx, sy}, {tx, sy}};
            return true;
        }
        // Vertical first, turning at (sx, ty).
        if (clear_run(b, sx, sy, 0, dy, sx, ty, false) &&
            clear_run(b, sx, ty, dx, 0, tx, ty, true)) {
            corners = {{sx, ty}, {sx, ty}};
            return true;
        }
    }

    // The start's own row must be empty from the column tried up to the start, so the
    // first tile met on it ends that side: no column beyond it can succeed. Likewise
    // for the rows along the start's column.
    for (int x = sx - 1; x >= 0 && !b.occupied(x, sy); --x) {
        if (through_column(b, x, tx, ty, sx, sy, corners)) return true;
    }
    for (int x = sx + 1; x < board_columns && !b.occupied(x, sy); ++x) {
        if (through_column(b, x, tx, ty, sx, sy, corners)) return true;
    }
    for (int y = sy - 1; y >= 0 && !b.occupied(sx, y); --y) {
        if (through_row(b, y, tx, ty, sx, sy, corners)) return true;
    }
    for (int y = sy + 1; y < board_rows && !b.occupied(sx, y); ++y) {
        if (through_row(b, y, tx, ty, sx, sy, corners)) return true;
    }
    return false;
}

}  // namespace

bool find_path(const Board& b, int tx, int ty, int sx, int sy, PathCorners& corners) {
    if (search(b, tx, ty, sx, sy, corners)) return true;
    corners = {{-1, -1}, {-1, -1}};
    return false;
}

int find_path(int tx, int ty, int sx, int sy) {
    RulesState& r = rules_state();
    PathCorners corners;
    const bool found = find_path(r.board, tx, ty, sx, sy, corners);
    r.path_corner1 = corners.first;
    r.path_corner2 = corners.second;
    return found ? 1 : 0;
}

}  // namespace rules
