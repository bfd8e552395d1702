#!/usr/bin/env bash
# Runs a command against a private PipeWire server and its PulseAudio
# server, with a null sink as the default sink: the sound tests record its
# monitor. Everything lives in a fresh runtime folder with its own session
# bus, so that no desktop's server is reached, and goes with it at the end.
# The command may stop the servers and start them anew with
# $ZELVANO_AUDIO_RESTART, as a sound test does to see the player come back.
# Usage: pipewire.sh COMMAND [ARGS...]
#        pipewire.sh --restart   (inside COMMAND)
set -euo pipefail

# The servers' pids, oldest first, in the runtime folder.
pids() { cat "$XDG_RUNTIME_DIR/servers" 2>/dev/null || true; }

# Ended, or ended and waiting for its parent to notice.
gone() {
    local state
    state=$(awk '/^State:/ { print $2 }' "/proc/$1/status" 2>/dev/null) || return 0
    [ -z "$state" ] || [ "$state" = Z ]
}

stop_servers() {
    local pid
    for pid in $(pids | tac); do
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 100); do
            gone "$pid" && break
            sleep 0.05
        done
    done
    rm -f "$XDG_RUNTIME_DIR/servers"
}

start_servers() {
    local work=$XDG_RUNTIME_DIR
    pipewire >>"$work/pipewire.log" 2>&1 &
    echo $! >>"$work/servers"
    for _ in $(seq 100); do
        [ -S "$work/pipewire-0" ] && break
        sleep 0.05
    done
    wireplumber >>"$work/wireplumber.log" 2>&1 &
    echo $! >>"$work/servers"
    pipewire-pulse >>"$work/pipewire-pulse.log" 2>&1 &
    echo $! >>"$work/servers"
    for _ in $(seq 100); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.05
    done
    if ! pactl info >/dev/null 2>&1; then
        echo "PipeWire's PulseAudio server did not start" >&2
        tail -n 20 "$work"/*.log >&2
        return 1
    fi

    pactl load-module module-null-sink sink_name=nul >/dev/null
    # The session manager makes the new sink the default once it sees it.
    for _ in $(seq 100); do
        pactl set-default-sink nul 2>/dev/null && [ "$(pactl get-default-sink)" = nul ] && break
        sleep 0.05
    done
    if [ "$(pactl get-default-sink)" != nul ]; then
        echo "PipeWire's null sink did not become the default" >&2
        return 1
    fi
}

if [ "${1:-}" = --restart ]; then
    stop_servers
    start_servers
    exit
fi

work=$(mktemp -d)
chmod 700 "$work"
cleanup() {
    set +e
    stop_servers
    [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR="$work" XDG_STATE_HOME="$work/state" XDG_CONFIG_HOME="$work/config"
unset PULSE_SERVER PIPEWIRE_REMOTE
eval "$(dbus-launch --sh-syntax)"
start_servers
ZELVANO_AUDIO_RESTART="bash $(printf %q "$(cd "$(dirname "$0")" && pwd)/pipewire.sh") --restart"
export ZELVANO_AUDIO_RESTART

"$@"
