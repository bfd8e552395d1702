#!/usr/bin/env bash
# Starts a private PulseAudio server on a null sink in $XDG_RUNTIME_DIR,
# which the caller makes its own; --kill there stops it. With --restart it
# stops the one running there first and starts it anew, as a sound test
# does to see the player come back to it.
# Usage: pulseaudio.sh [--restart]
set -euo pipefail

if [ "${1:-}" = --restart ]; then
    # The old server is waited for until it has ended, not only until it
    # says it stops: what it removes on its way out (its pid file, its
    # socket) would by then be the new one's.
    old=$(cat "$XDG_RUNTIME_DIR/pulse/pid" 2>/dev/null || true)
    pulseaudio --kill 2>/dev/null || true
    for _ in $(seq 200); do
        if [ -n "$old" ]; then
            [ -e "/proc/$old" ] || break
        else
            pulseaudio --check 2>/dev/null || break
        fi
        sleep 0.05
    done
fi
# Without norewinds the sink's monitor misses a sound that starts on an
# idle sink: the server rewrites what it had mixed, but not the monitor.
# Without shared memory the clients' blocks come over the socket: PulseAudio
# 16 aborts now and then on a block it had imported from a client that has
# gone ("memblock_replace_import"), which took the server away mid-run.
pulseaudio --daemonize=yes --exit-idle-time=-1 -n --disable-shm=yes \
    --load="module-null-sink sink_name=nul norewinds=1" --load=module-native-protocol-unix
for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
pactl info >/dev/null
