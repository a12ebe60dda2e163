#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vorpy developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The windowed game under an English locale, in the X server xvfb-run gives it: a
# screenshot of the main menu and its title, then a new game and the title that counts
# its open pairs, as xdotool and a task bar read them.
# Arguments: the game binary, then the click point "x,y" of new game (main menu).
set -eu
. "$(dirname "$0")/game_window.sh"
vorpy=$1 new_game=$2
open_game_window env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=en_US.UTF-8 "$vorpy" --seed 7 --scale 1
import -window "$wid" english_menu.png
xdotool getwindowname "$wid" > english_menu_title.txt
menu_title=$(cat english_menu_title.txt)
xdotool mousemove --window "$wid" "${new_game%,*}" "${new_game#*,}" click 1
for _ in $(seq 100); do
    [ "$(xdotool getwindowname "$wid")" != "$menu_title" ] && break
    sleep 0.02
done
xdotool getwindowname "$wid" > english_play_title.txt
xprop -id "$wid" _NET_WM_NAME > english_names.txt
