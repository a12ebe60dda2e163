#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vorpy developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command beside a sound server of its own that speaks PulseAudio's protocol, under
# an X server of xvfb-run's: a PulseAudio daemon that reads no configuration script, or
# PipeWire with WirePlumber and pipewire-pulse inside a D-Bus session of their own
# (WirePlumber needs one). Either plays to a null sink "test", the default sink, and keeps
# its socket, cookie and state in a scratch folder that goes with it.
# Arguments: pulseaudio or pipewire, then the command and its arguments.
set -eu
server=$1
shift
if [ "$server" = pipewire ] && [ -z "${VORPY_SOUND_SESSION:-}" ]; then
    VORPY_SOUND_SESSION=1 exec dbus-run-session -- "$0" "$server" "$@" 2> >(grep -v 'fd limit' >&2)
fi
scratch=$(mktemp -d)
export XDG_RUNTIME_DIR=$scratch/runtime HOME=$scratch/home
mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"
unset PULSE_SERVER PULSE_COOKIE PULSE_SINK
# Clients start no daemon of their own should this one be gone.
printf 'autospawn = no\n' > "$scratch/client.conf"
export PULSE_CLIENTCONFIG=$scratch/client.conf
pids=()
cleanup() {
    [ "$server" = pulseaudio ] && pactl exit 2> /dev/null
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2> /dev/null || true; done
    wait 2> /dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
answers() {
    for _ in $(seq 600); do
        pactl info > /dev/null 2>&1 && return 0
        sleep 0.05
    done
    return 1
}
case $server in
    pulseaudio)
        pulseaudio --daemonize=no -n --exit-idle-time=-1 --use-pid-file=no \
            -L module-native-protocol-unix -L "module-null-sink sink_name=test" \
            --log-target=file:"$scratch/server.log" 2> /dev/null &
        pids+=($!)
        answers || { echo "no PulseAudio daemon"; cat "$scratch/server.log"; exit 1; }
        ;;
    pipewire)
        pipewire > "$scratch/server.log" 2>&1 &
        pids+=($!)
        for _ in $(seq 600); do
            [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && break
            sleep 0.05
        done
        wireplumber > "$scratch/session.log" 2>&1 &
        pids+=($!)
        pipewire-pulse > "$scratch/pulse.log" 2>&1 &
        pids+=($!)
        answers || { echo "no pipewire-pulse"; cat "$scratch"/*.log; exit 1; }
        pactl load-module module-null-sink sink_name=test > /dev/null
        ;;
    *)
        echo "unknown sound server $server"
        exit 2
        ;;
esac
pactl set-default-sink test
xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
