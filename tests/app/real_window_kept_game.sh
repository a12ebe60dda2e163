#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vorpy developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Ends the windowed game by SIGTERM in the middle of a stage under the X server
# xvfb-run gives it, starts it again and resumes the game it kept, taking a screenshot
# of the main menu, the pause menu over the resumed game and the board; then ends that
# one by SIGTERM too. Last the game is resumed once more on an X server of its own, which
# then goes away as it does when the session ends. Arguments: the game binary, then the click points "x,y" of: new
# game (main menu), continue the kept game (main menu), continue (pause menu).
set -eu
vorpy=$1 new_game=$2 resume=$3 play_on=$4
unset SDL_VIDEODRIVER  # the tests run with the dummy driver; this one needs the X server
pid= server=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; [ -n "$server" ] && kill $server 2>/dev/null || true' EXIT

start() {
    SDL_AUDIODRIVER=dummy "$vorpy" --seed 7 --scale 1 >> real.log 2>&1 &
    pid=$!
    wid=$(timeout 20 xdotool search --sync --pid "$pid" --class vorpy | head -n 1)
    xdotool windowfocus --sync "$wid"
    xdotool mousemove --window "$wid" 0 0
    sleep 1
}
click() {
    xdotool mousemove --window "$wid" "${1%,*}" "${1#*,}" click 1
    sleep 1
}
# How the game ended: its exit status.
ended() {
    status=0
    wait "$pid" || status=$?
    pid=
    echo "$status" >> real_exits.txt
}
terminate() {
    kill -TERM "$pid"
    ended
}

start
click "$new_game"
terminate
cp game.sav real_kept.sav

start
import -window "$wid" real_kept_menu.png
click "$resume"
import -window "$wid" real_kept_pause.png
click "$play_on"
import -window "$wid" real_kept_play.png
terminate

# The display goes: the game keeps what it plays before it ends.
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5> own_display.txt 2> own_server.log &
server=$!
for _ in $(seq 100); do [ -s own_display.txt ] && break; sleep 0.1; done
export DISPLAY=":$(cat own_display.txt)"
start
click "$resume"
click "$play_on"
rm game.sav
kill "$server"
server=
ended
