#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vorpy developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays the windowed game under the X server xvfb-run gives it: clicks through the
# main menu into training and back out into a game, taking a screenshot of the
# window at each screen; then by keys alone through the pause menu, the name entry and
# the score table into a new game, where a hinted pair is removed with the cursor.
# Arguments: the game binary, then the click points "x,y" of: training (main menu),
# start training (rules), back (end of training), new game (main menu); then the
# program that prints the X server's mouse pointer.
set -eu
. "$(dirname "$0")/board_cells.sh"
. "$(dirname "$0")/game_window.sh"
vorpy=$1 training=$2 start=$3 back=$4 new_game=$5 cursor_probe=$6
open_game_window "$vorpy" --seed 7 --scale 1
shot() { import -window "$wid" "$1"; }
click() {
    xdotool mousemove --window "$wid" "${1%,*}" "${1#*,}" click 1
    sleep "${2:-0.7}"
}
shot real_menu.png
click "$training"
shot real_rules.png
click "$start"
xdotool key --window "$wid" Escape
sleep 0.7
click "$back"
# The deal names the open pairs in the title; the shot must come before the first second
# of play takes a point off the score, however busy the machine is.
menu_title=$(xdotool getwindowname "$wid")
click "$new_game" 0
for _ in $(seq 100); do
    [ "$(xdotool getwindowname "$wid")" != "$menu_title" ] && break
    sleep 0.02
done
sleep 0.1
shot real_play.png
xdotool getwindowname "$wid" > real_title.txt
# What other X11 readers see: xdotool's search reads WM_NAME, a task bar _NET_WM_NAME
# and the icon's size from _NET_WM_ICON.
echo "$wid" > real_wid.txt
xdotool search --name 'Ворпы' > real_search.txt || true
xprop -id "$wid" WM_NAME _NET_WM_NAME > real_names.txt
xprop -id "$wid" -len 16 -f _NET_WM_ICON 32c _NET_WM_ICON > real_icon.txt
# The pointer over the window is the game's own.
xdotool mousemove --window "$wid" 300 300
sleep 0.3
"$cursor_probe" > real_cursor.txt

# The keyboard alone from here: the pause menu's last item ends the game, the name is
# typed, the score table and the main menu are left by Enter, and a new game begins.
keys() {
    for k in "$@"; do
        xdotool key --window "$wid" "$k"
        sleep 0.15
    done
}
# Escape is read as held down at a frame, so it is held a while.
xdotool keydown --window "$wid" Escape
sleep 0.3
xdotool keyup --window "$wid" Escape
sleep 0.5
keys Down Down Down Return
sleep 0.5
keys K e y s
keys Return
sleep 0.5
shot real_keys_scores.png
keys Return
sleep 0.5
# Whatever item the resting mouse lights, Up stops at the first, "Новая игра".
keys Up Up Up Up Return
sleep 0.7
shot real_keys_play.png
# The cursor shown on the top-left tile, then H, Down and Enter pay for a hint: its two
# cells are outlined in red, which the cursor then visits, pressing Enter on each.
keys Right h Down Return
sleep 1
shot real_keys_hint.png
hinted=$(outlined_cells real_keys_hint.png)
[ "$(echo "$hinted" | wc -l)" = 2 ] || { echo "no hint pair outlined: $hinted"; exit 1; }
echo "$hinted" > real_keys_pair.txt
keys $(cursor_keys <<< "$hinted")
sleep 0.7
shot real_keys_removed.png
