#!/bin/sh
# CPU used by the saver itself, `quorvane --window WxH` at default settings
# (an empty settings folder), under Xvfb over a number of seconds, and the
# time from a key press to the end of the process.
#
#   bench/saver_cpu.sh [BUILD_DIR] [SECONDS] [WxH]
#
# BUILD_DIR defaults to build/release (quorvane is built there first),
# SECONDS to 60, the size to 1920x1080. QV_SAVER_ARGS adds options to the
# saver's command line (e.g. "--style Design").
set -eu
build="${1:-build/release}"
seconds="${2:-60}"
size="${3:-1920x1080}"
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/bench/common.sh"
build_target "$build" quorvane
exe="$build/quorvane"

saver_screen "$size"

DISPLAY="$display" QUORVANE_CONFIG_DIR="$config" "$exe" --window "$size" ${QV_SAVER_ARGS:-} &
pid=$!
sleep 2  # start-up is not what is measured
p0=$(ticks "$pid"); x0=$(ticks "$xvfb")
sleep "$seconds"
p1=$(ticks "$pid"); x1=$(ticks "$xvfb")

# The pointer rests in the middle of the screen, over the window: the key
# goes there.
t0=$(date +%s%N)
DISPLAY="$display" xdotool key a
status=0
wait "$pid" || status=$?
t1=$(date +%s%N)

awk -v p=$((p1 - p0)) -v x=$((x1 - x0)) -v hz="$hz" -v s="$seconds" -v size="$size" \
    -v ms=$(((t1 - t0) / 1000000)) -v st="$status" 'BEGIN {
    printf "quorvane --window %s over %d s: program %5.1f %% of a core, X server %5.1f %%\n",
           size, s, 100 * p / hz / s, 100 * x / hz / s
    printf "key press to process exit: %d ms (exit status %d)\n", ms, st }'
