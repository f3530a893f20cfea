#!/bin/sh
# CPU used by the saver itself, `quorvane --window WxH` at default settings
# (an empty settings folder), under Xvfb over a number of seconds, and the
# time from a key press to the end of the process.
#
#   bench/saver_cpu.sh [BUILD_DIR] [SECONDS] [WxH]
#
# BUILD_DIR defaults to build/release (quorvane is built there first),
# SECONDS to 60, the size to 1920x1080.
set -eu
build="${1:-build/release}"
seconds="${2:-60}"
size="${3:-1920x1080}"
here="$(cd "$(dirname "$0")/.." && pwd)"
[ -f "$build/CMakeCache.txt" ] || cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quorvane -j 2 >/dev/null
exe="$build/quorvane"

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
config=$(mktemp -d)

display=""
for n in $(seq 97 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
    if kill -0 "$xvfb" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "could not start Xvfb" >&2; exit 1; }
trap 'kill $xvfb 2>/dev/null; rm -rf "$config"' EXIT

DISPLAY="$display" QUORVANE_CONFIG_DIR="$config" "$exe" --window "$size" &
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
