# SPDX-FileCopyrightText: 2026 The Vorpy developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the real-window scripts: starts the windowed game under the X server, with
# the dummy audio driver and its log in real.log, and waits for its window.

# open_game_window COMMAND...: runs the command in the background (pid), ends it when the
# script exits, and sets wid to its window, focused, with the mouse at its top left.
open_game_window() {
    unset SDL_VIDEODRIVER  # the tests run with the dummy driver; this one needs the X server
    SDL_AUDIODRIVER=dummy "$@" > real.log 2>&1 &
    pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
    wid=$(timeout 20 xdotool search --sync --class vorpy | head -n 1)
    xdotool windowfocus --sync "$wid"
    xdotool mousemove --window "$wid" 0 0
    sleep 1
}
