#!/bin/sh
# Key press to the end of the process, `quorvane /s` full screen on an Xvfb
# screen of WxH at default settings: PRESSES runs, each pressing a key at a
# random moment 1 to 10 s after the start. The runs go through every style
# alone in turn (two presses each), then whole runs. Prints the median and
# the maximum, and the style of the slowest.
#
#   bench/key_exit.sh [BUILD_DIR] [PRESSES] [WxH]
#
# The time runs from just before xdotool sends the key to the end of the
# process, so it includes xdotool's own start.
set -eu
build="${1:-build/release}"
presses="${2:-50}"
size="${3:-1920x1080}"
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/bench/common.sh"
build_target "$build" quorvane
exe="$build/quorvane"

saver_screen "$size"

styles=$("$exe" --list-styles | awk '{ print $2 }')
count=$(echo "$styles" | wc -l)
: >"$config/times.txt"
i=0
while [ "$i" -lt "$presses" ]; do
    i=$((i + 1))
    if [ "$i" -le $((2 * count)) ]; then
        style=$(echo "$styles" | sed -n "$(((i - 1) / 2 + 1))p")
        set -- --style "$style"
    else
        style=whole
        set --
    fi
    delay=$(awk -v i="$i" 'BEGIN { srand(i); printf "%.2f", 1 + 9 * rand() }')
    DISPLAY="$display" QUORVANE_CONFIG_DIR="$config" "$exe" /s "/r$i" "$@" &
    pid=$!
    sleep "$delay"
    t0=$(date +%s%N)
    DISPLAY="$display" xdotool key a
    status=0
    wait "$pid" || status=$?
    t1=$(date +%s%N)
    echo "$(((t1 - t0) / 1000000)) $style $delay $status" >>"$config/times.txt"
done

sort -n "$config/times.txt" | awk -v n="$presses" '
    { ms[NR] = $1; style[NR] = $2; at[NR] = $3; if ($4 != 0) bad++ }
    END {
        median = NR % 2 ? ms[(NR + 1) / 2] : (ms[NR / 2] + ms[NR / 2 + 1]) / 2
        printf "key press to process exit over %d presses: median %d ms, maximum %d ms (%s, %s s after the start)\n",
               NR, median, ms[NR], style[NR], at[NR]
        if (bad) printf "%d runs ended with a non-zero status\n", bad }'
