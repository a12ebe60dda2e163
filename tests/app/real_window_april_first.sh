#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vorpy developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the windowed game on April 1st under the X server xvfb-run gives it, with a
# desktop opener that takes its time: the notice is dismissed with Return, then the
# training item is clicked while the opener still runs, and the window is taken as a
# screenshot. Arguments: the game binary, then the click point "x,y" of training.
set -eu
vorpy=$1 training=$2
unset SDL_VIDEODRIVER  # the tests run with the dummy driver; this one needs the X server
mkdir -p opener
cat > opener/xdg-open <<'OPENER'
#!/bin/sh
echo "$1" > opener.started
sleep 8
touch opener.done
OPENER
chmod +x opener/xdg-open
# Only the calendar is moved; the game's own timing runs on the monotonic clock. In a
# sanitizer build faketime's preloaded library comes before ASan's, which ASan allows here.
PATH="$PWD/opener:$PATH" FAKETIME_DONT_FAKE_MONOTONIC=1 SDL_AUDIODRIVER=dummy \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
    faketime -m -f '@2026-04-01 12:00:00' "$vorpy" --seed 7 --scale 1 > april.log 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
# The notice has no window class for xdotool to find it by; the window tree names it.
box=
for _ in $(seq 100); do
    box=$(xwininfo -root -tree | grep 'Внимание' | awk '{print $1}' | head -n 1)
    [ -n "$box" ] && break
    sleep 0.2
done
xdotool windowfocus --sync "$box"
xdotool key Return
for _ in $(seq 100); do [ -f opener.started ] && break; sleep 0.1; done
wid=$(xdotool search --class vorpy | head -n 1)
xdotool windowfocus --sync "$wid"
xdotool mousemove --window "$wid" 0 0
sleep 1
xdotool mousemove --window "$wid" "${training%,*}" "${training#*,}" click 1
sleep 1
import -window "$wid" april_rules.png
if [ -f opener.done ]; then echo "the opener had finished before the click" >&2; exit 1; fi
cp opener.started april_opened.txt
