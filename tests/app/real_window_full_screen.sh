#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vorpy developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Full screen in the real window, under a window manager (openbox) on the X server
# xvfb-run gives it: F11 from the main menu, a click on the black margin, a click on
# "Тренировка" where the enlarged picture shows it, and F11 back to the window; a
# screenshot of the screen or the window at each step.
# Arguments: the game binary, then the window points "x,y" of the margin click and of
# "Тренировка" in full screen.
set -eu
vorpy=$1 margin=$2 training=$3
unset SDL_VIDEODRIVER  # the tests run with the dummy driver; this one needs the X server
openbox --sm-disable > wm.log 2>&1 &
wm=$!
pid=
trap 'kill $pid $wm 2>/dev/null || true' EXIT
for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
# The pointer starts clear of where the window will be: an item it lit at start-up
# would be drawn again unlit over itself, as in the windowed game.
xdotool mousemove 0 0
SDL_AUDIODRIVER=dummy "$vorpy" --seed 7 --scale 1 > full.log 2>&1 &
pid=$!
wid=$(timeout 20 xdotool search --sync --class vorpy | head -n 1)
xdotool windowfocus --sync "$wid"
# The pointer rests on the window's corner, where it lights no item.
xdotool mousemove --window "$wid" 0 0
sleep 1
# Waits until the window has the size given, as the window manager reports it.
wait_for_size() {
    for _ in $(seq 100); do
        xwininfo -id "$wid" | grep -q "Width: $1\$" && xwininfo -id "$wid" | grep -q "Height: $2\$" &&
            return 0
        sleep 0.05
    done
    echo "the window never became $1 x $2"
    xwininfo -id "$wid"
    return 1
}
screen=$(xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w " " h }')
import -window "$wid" full_windowed.png
xdotool key --window "$wid" F11
wait_for_size $screen
sleep 0.7
import -window root full_menu.png
click() {
    xdotool mousemove --window "$wid" "${1%,*}" "${1#*,}" click 1
    sleep 0.7
}
click "$margin"
import -window root full_margin.png
click "$training"
import -window root full_rules.png
xdotool mousemove --window "$wid" 0 0
xdotool key --window "$wid" F11
wait_for_size 648 528
sleep 0.7
import -window "$wid" full_restored.png
