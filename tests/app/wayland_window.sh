#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vorpy developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays the windowed game on native Wayland under a headless sway of its own, by keys
# alone (a virtual keyboard; the headless compositor has no pointer): the main menu,
# full screen and back, the rules screen, a training board left by Escape, a new game,
# and a hinted pair removed with the cursor; a screenshot at each screen. Each step waits
# until the window shows what the headless game showed there (the reference pictures
# in the folder), not for a fixed time.
# Under root sway refuses to run: the compositor and the game then run as nobody, who
# is given the test folder.
# Arguments: the game binary.
set -eu
. "$(dirname "$0")/board_cells.sh"
vorpy=$1
folder=$PWD
runtime=$(mktemp -d)
groups=()
cleanup() {
    for ((i = ${#groups[@]} - 1; i >= 0; i--)); do kill -- -"${groups[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$runtime"
}
trap cleanup EXIT
user=
if [ "$(id -u)" = 0 ]; then
    user=nobody
    chown "$user" "$runtime"
    find "$folder" \( -type f -o -type d \) -exec chown "$user" {} +
    as_user() { runuser -u "$user" -- "$@"; }
else
    as_user() { "$@"; }
fi
chmod 700 "$runtime"
# Starts the command in the background as that user, leading a process group of its own,
# so that runuser and what it runs end together.
background() {
    if [ -n "$user" ]; then
        setsid runuser -u "$user" -- "$@" &
    else
        setsid "$@" &
    fi
    groups+=($!)
}
# Only what the programs need: nothing of the caller's display or desktop leaks in.
session=(env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$runtime" XDG_RUNTIME_DIR="$runtime")

cat > "$runtime/sway.cfg" << 'EOF'
xwayland disable
output HEADLESS-1 resolution 1920x1200
# Floating at its own size, with no title bar or border: sway adds them once the window
# asks for server-side decorations, which would move its picture after it was found.
default_border none
default_floating_border none
for_window [title=".*"] floating enable, border none
EOF
chmod 644 "$runtime/sway.cfg"
background "${session[@]}" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$runtime/sway.cfg" > sway.log 2>&1

# Waits until the command succeeds, up to the seconds given.
wait_until() {
    local seconds=$1
    shift
    local end=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.05
    done
}
compositor_up() {
    display=$(cd "$runtime" && ls wayland-* 2>/dev/null | grep -v '\.lock$' | head -n 1) &&
        [ -n "$display" ] && ipc=$(ls "$runtime"/sway-ipc.*.sock 2>/dev/null | head -n 1) &&
        [ -n "$ipc" ]
}
wait_until 30 compositor_up || { echo "sway did not start"; cat sway.log; exit 1; }
client=("${session[@]}" WAYLAND_DISPLAY="$display" SWAYSOCK="$ipc")

# The game's standard error apart from runuser's, which tells of the session's end. In the
# sanitizer build the sanitizers' options reach it, but not leak detection: SDL's Wayland
# keyboard keeps an xkbcommon state for every keymap wtype sends, and the libraries SDL
# loads for Wayland and EGL are unloaded before the report, which then cannot name them.
background "${client[@]}" SDL_VIDEODRIVER=wayland SDL_AUDIODRIVER=dummy \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" \
    sh -c 'exec "$0" --seed 7 --scale 1 2> wayland_errors.log' "$vorpy" > wayland.log 2>&1
# The game's window as sway holds it: "x y width height title".
window() {
    as_user "${client[@]}" swaymsg -t get_tree -r |
        jq -r '.. | objects | select(.app_id? == "vorpy") |
            "\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y) \(.window_rect.width) \(.window_rect.height) \(.name)"' |
        head -n 1
}
window_is() { read -r x y w h title <<< "$(window)" && [ "${w:-0}x${h:-0}" = "$1" ]; }
wait_until 30 window_is 648x528 || { echo "no window"; window; cat wayland_errors.log; exit 1; }

# A shot of the window, or of the whole output.
shot() { as_user "${client[@]}" grim -g "$x,$y ${w}x$h" "$runtime/shot.png" && cp "$runtime/shot.png" "$1"; }
screen_shot() { as_user "${client[@]}" grim "$runtime/shot.png" && cp "$runtime/shot.png" "$1"; }
# Whether the shot's rectangle "WxH+X+Y" equals the reference picture's, enlarged by the
# factor, from the point "X+Y" (the same place unless given).
same() {
    local shot=$1 reference=$2 rectangle=$3 factor=${4:-1} from=${5:-}
    local size=${rectangle%%+*}
    [ -n "$from" ] || from=${rectangle#*+}
    convert "$shot" -crop "$rectangle" +repage "$runtime/a.png" &&
        convert "$reference" -scale "$((factor * 100))%" -crop "$size+$from" +repage "$runtime/b.png" &&
        [ "$(compare -metric AE "$runtime/a.png" "$runtime/b.png" null: 2>&1)" = 0 ]
}
# Whether the shot is black throughout the rectangle.
black() { [ "$(convert "$1" -crop "$2" +repage -format '%[max]' info:)" = 0 ]; }
# Takes shots until one equals the reference in the rectangle; false after 20 seconds.
shows() {
    local name=$1
    shift
    local end=$((SECONDS + 20))
    while :; do
        shot "$name" && same "$name" "$@" && return 0
        [ "$SECONDS" -lt "$end" ] || { echo "$name never showed $1"; return 1; }
        sleep 0.1
    done
}
keys() { as_user "${client[@]}" wtype "$@"; }

# The panel and its items: the menu's border cells flicker with random faces.
panel=504x384+72+96
shows wayland_menu.png menu.png "$panel"
echo "$title" > wayland_title.txt

# The virtual keyboard lives as long as its wtype: one that sleeps keeps the seat's
# keyboard, so the window keeps its focus between the key presses below.
background "${client[@]}" wtype -s 3600000
# Until the window has its keyboard, keys are lost: Up is pressed until an item is lit
# (Up from none lights the last), then Up walks to the first, "Новая игра", and stops.
lit=0
for _ in $(seq 20); do
    keys -k Up
    end=$((SECONDS + 2))
    while [ "$SECONDS" -lt "$end" ]; do
        shot wayland_menu_key.png && ! same wayland_menu_key.png menu.png "$panel" && {
            lit=1
            break 2
        }
        sleep 0.1
    done
done
[ "$lit" = 1 ] || { echo "the window never took a key"; exit 1; }
keys -k Up -k Up -k Up -k Up
shows wayland_menu_lit.png menu_lit.png "$panel"

# Full screen: the output is 1920 x 1200, so the picture is doubled, centred on black.
keys -k F11
wait_until 20 window_is 1920x1200 || { echo "F11 gave no full screen"; window; exit 1; }
end=$((SECONDS + 20))
until screen_shot wayland_full.png && same wayland_full.png menu_lit.png 1008x768+456+264 2 144+192 &&
    black wayland_full.png 1920x72+0+0 && black wayland_full.png 312x1200+0+0; do
    [ "$SECONDS" -lt "$end" ] || { echo "full screen never showed the menu"; exit 1; }
    sleep 0.1
done
keys -k F11
wait_until 20 window_is 648x528 || { echo "F11 gave no window back"; window; exit 1; }
shows wayland_restored.png menu_lit.png "$panel"

keys -k Down -k Return
shows wayland_rules.png rules.png 648x528+0+0
# Enter starts the training; Escape, held a while as the game reads it, ends it, and
# Enter on "Назад" goes back to the main menu, where Up and Enter start a new game.
keys -k Return
shows wayland_training.png training.png 648x48+0+0
keys -P Escape -s 300 -p Escape
shows wayland_training_end.png training_end.png 648x528+0+0
keys -k Return
shows wayland_back.png menu_back.png "$panel"
menu_title=$(window | cut -d' ' -f5-)
keys -k Up -k Return
# The deal names the open pairs in the title; the shot must come before the first second
# of play takes a point off the score.
title_changed() { read -r x y w h title <<< "$(window)" && [ "$title" != "$menu_title" ]; }
wait_until 20 title_changed || { echo "no new game"; exit 1; }
shot wayland_play.png
echo "$title" > wayland_play_title.txt

# The cursor on the top-left tile, then H, Down and Enter pay for a hint: its two cells
# are outlined in red, which the cursor then visits, pressing Enter on each.
keys -k Right -s 150 -k h -s 150 -k Down -s 150 -k Return
hinted_pair() {
    shot wayland_hint.png && hinted=$(outlined_cells wayland_hint.png) &&
        [ "$(echo "$hinted" | wc -l)" = 2 ]
}
wait_until 20 hinted_pair || { echo "no hint pair outlined: $hinted"; exit 1; }
echo "$hinted" > wayland_pair.txt
moves=()
while read -r key; do moves+=(-k "$key"); done < <(cursor_keys <<< "$hinted")
keys "${moves[@]}"
# Removed: the outlines gone and the board at rest (two shots alike); the tiles are
# counted afterwards.
removed() {
    shot wayland_removed.png || return 1
    [ -z "$(outlined_cells wayland_removed.png)" ] || return 1
    sleep 0.2
    shot wayland_removed_again.png && same wayland_removed.png wayland_removed_again.png 648x528+0+0
}
wait_until 20 removed || { echo "the pair was not removed"; exit 1; }

# SIGTERM where nothing is due: the pause menu's last item ends the game, and the name
# entry waits for keys alone; the signal's wake still ends the sleep, and the game with it.
game=$(as_user "${client[@]}" swaymsg -t get_tree -r | jq -r '.. | objects | select(.app_id? == "vorpy") | .pid')
settled() {
    shot "$runtime/settle_a.png" && sleep 0.3 && shot "$runtime/settle_b.png" &&
        same "$runtime/settle_a.png" "$runtime/settle_b.png" 648x528+0+0
}
keys -P Escape -s 300 -p Escape -s 500 -k Down -s 150 -k Down -s 150 -k Down -s 150 -k Return
wait_until 10 settled || true
shot wayland_name_entry.png
started=$(date +%s%N)
kill -TERM "$game"
gone() { ! kill -0 "$game" 2> /dev/null; }
if wait_until 5 gone; then
    echo "ended $((($(date +%s%N) - started) / 1000000)) ms after SIGTERM" > wayland_term.txt
else
    echo "still running" > wayland_term.txt
fi
