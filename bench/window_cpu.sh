#!/bin/sh
# CPU used by a window under Xvfb over a number of seconds (10 by default):
# one that only waits for input, and one that paints and presents a changing
# 1920x1080 picture 60 times a second. Reports the share of one core used by
# the program and by the X server.
#
#   bench/window_cpu.sh [BUILD_DIR] [SECONDS]
#
# BUILD_DIR defaults to build/release; the demonstration window program is
# built there first.
set -eu
build="${1:-build/release}"
seconds="${2:-10}"
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/bench/common.sh"
build_target "$build" qv_demo_window
demo="$build/bench/qv_demo_window"

start_xvfb 1920x1080
trap 'kill $xvfb 2>/dev/null' EXIT

measure() {
    label="$1"; shift
    out=$(mktemp)
    DISPLAY="$display" "$demo" --quiet "$@" -- /s >"$out" &
    pid=$!
    sleep 1  # start-up is not what is measured
    p0=$(ticks "$pid"); x0=$(ticks "$xvfb")
    sleep "$seconds"
    p1=$(ticks "$pid"); x1=$(ticks "$xvfb")
    kill -TERM "$pid"; wait "$pid" || true
    frames=$(awk '/^frames/ { print $2 }' "$out"); rm -f "$out"
    awk -v l="$label" -v p=$((p1 - p0)) -v x=$((x1 - x0)) -v hz="$hz" -v s="$seconds" \
        -v f="${frames:-0}" 'BEGIN {
        printf "%-28s program %5.1f %% of a core, X server %5.1f %%  (%d s; %d paints in all)\n",
               l, 100 * p / hz / s, 100 * x / hz / s, s, f }'
}

measure "window that only waits" --fps 0
measure "1920x1080 picture at 60 Hz" --fps 60
