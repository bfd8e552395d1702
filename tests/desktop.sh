#!/usr/bin/env bash
# Runs the window tests that need a real X screen: a virtual one of the given
# size (WxH), managed by openbox or by no window manager ("none"), then the
# test binary on it.
# Usage: desktop.sh WxH openbox|none TEST_BINARY GTEST_FILTER
set -euo pipefail
size=$1
manager=$2
binary=$3
filter=$4

work=$(mktemp -d)
xvfb=
wm=
cleanup() {
    set +e
    [ -n "$wm" ] && kill "$wm" 2>/dev/null && wait "$wm" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The server picks a free display itself and names it on the pipe, so that
# test runs side by side never race for one.
mkfifo "$work/display"
# Its framebuffer, a file in the work folder, is the screen as the windows
# painted it, for the tests that judge pixels.
Xvfb -displayfd 3 -screen 0 "${size}x24" -fbdir "$work" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
read -r -t 20 number <"$work/display" || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$number"

if [ "$manager" = openbox ]; then
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    wm=$!
    # A window manager manages windows once it names its own check window on
    # the root window.
    for _ in $(seq 200); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.05
    done
    if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
        echo "openbox did not start" >&2
        cat "$work/openbox.log" >&2
        exit 1
    fi
fi

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$work}"
export ZELVANO_DESKTOP_FRAMEBUFFER="$work/Xvfb_screen0"
QT_QPA_PLATFORM=xcb ZELVANO_DESKTOP_WM="$manager" "$binary" --gtest_filter="$filter"
