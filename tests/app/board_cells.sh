# SPDX-FileCopyrightText: 2026 The Vorpy developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the real-window scripts: which cells of a play screen's shot are outlined in
# red (a hint's pair), and the keys that walk the board cursor to them.

# Prints "column row" of each cell of the shot whose left edge is outlined in red.
outlined_cells() {
    local format="" row column
    for row in $(seq 1 9); do
        for column in $(seq 1 16); do
            format+="$column $row %[pixel:p{$((column * 36 + 1)),$((row * 48 + 24))}]\n"
        done
    done
    convert "$1" -format "$format" info: | grep -E ' (red|srgb\(255,0,0\))$' | cut -d' ' -f1,2
}

# Prints, one a line, the keys that take the cursor from the top-left tile to each cell of
# the "column row" lines on standard input in turn, with Return on each.
cursor_keys() {
    local at_column=1 at_row=1 column row
    while read -r column row; do
        while [ "$at_column" -lt "$column" ]; do echo Right; at_column=$((at_column + 1)); done
        while [ "$at_column" -gt "$column" ]; do echo Left; at_column=$((at_column - 1)); done
        while [ "$at_row" -lt "$row" ]; do echo Down; at_row=$((at_row + 1)); done
        while [ "$at_row" -gt "$row" ]; do echo Up; at_row=$((at_row - 1)); done
        echo Return
    done
}
