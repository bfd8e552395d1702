#!/usr/bin/env bash
# Runs a command against a private PipeWire server and its PulseAudio
# server, with a null sink as the default sink: the sound tests record its
# monitor. Everything lives in a fresh runtime folder with its own session
# bus, so that no desktop's server is reached, and goes with it at the end.
# Usage: pipewire.sh COMMAND [ARGS...]
set -euo pipefail

work=$(mktemp -d)
chmod 700 "$work"
pids=()
cleanup() {
    set +e
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null && wait "${pids[i]}" 2>/dev/null
    done
    [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR="$work" XDG_STATE_HOME="$work/state" XDG_CONFIG_HOME="$work/config"
unset PULSE_SERVER PIPEWIRE_REMOTE
eval "$(dbus-launch --sh-syntax)"

pipewire >"$work/pipewire.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [ -S "$work/pipewire-0" ] && break
    sleep 0.05
done
wireplumber >"$work/wireplumber.log" 2>&1 &
pids+=($!)
pipewire-pulse >"$work/pipewire-pulse.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.05
done
if ! pactl info >/dev/null 2>&1; then
    echo "PipeWire's PulseAudio server did not start" >&2
    tail -n 20 "$work"/*.log >&2
    exit 1
fi

pactl load-module module-null-sink sink_name=nul >/dev/null
# The session manager makes the new sink the default once it sees it.
for _ in $(seq 100); do
    pactl set-default-sink nul 2>/dev/null && [ "$(pactl get-default-sink)" = nul ] && break
    sleep 0.05
done
if [ "$(pactl get-default-sink)" != nul ]; then
    echo "PipeWire's null sink did not become the default" >&2
    exit 1
fi

"$@"
