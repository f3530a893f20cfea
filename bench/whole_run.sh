#!/bin/sh
# The whole saver in real time: `quorvane /s` full screen on an Xvfb screen
# of WxH at default settings (an empty settings folder) for SECONDS. Reports
# the share of one core used by the saver and by the X server, the saver's
# peak memory and the slope of its resident memory after the first ten
# minutes (or after the first third of shorter runs), and the time from a
# key press to the end of the process.
#
#   bench/whole_run.sh [BUILD_DIR] [SECONDS] [WxH] [SEED]
#
# BUILD_DIR defaults to build/release (quorvane is built there first),
# SECONDS to 1800, the size to 1920x1080, the seed to 1. The resident memory
# is sampled every 10 s into $QV_MEMORY_LOG when that is set; QV_SAVER_ARGS
# adds options to the saver's command line (e.g. "--style Dots").
set -eu
build="${1:-build/release}"
seconds="${2:-1800}"
size="${3:-1920x1080}"
seed="${4:-1}"
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/bench/common.sh"
build_target "$build" quorvane
exe="$build/quorvane"

saver_screen "$size"
log="${QV_MEMORY_LOG:-$config/memory.txt}"

DISPLAY="$display" QUORVANE_CONFIG_DIR="$config" "$exe" /s "/r$seed" ${QV_SAVER_ARGS:-} &
pid=$!
sleep 2  # start-up is not what is measured
p0=$(ticks "$pid"); x0=$(ticks "$xvfb")
: >"$log"
elapsed=0
while [ "$elapsed" -lt "$seconds" ]; do
    step=$((seconds - elapsed < 10 ? seconds - elapsed : 10))
    sleep "$step"
    elapsed=$((elapsed + step))
    kill -0 "$pid" 2>/dev/null || { echo "quorvane ended early, after $elapsed s" >&2; exit 1; }
    awk -v t="$elapsed" '/^VmRSS/ { print t, $2 }' "/proc/$pid/status" >>"$log"
done
p1=$(ticks "$pid"); x1=$(ticks "$xvfb")
peak=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")

# The pointer rests in the middle of the screen, over the window.
t0=$(date +%s%N)
DISPLAY="$display" xdotool key a
status=0
wait "$pid" || status=$?
t1=$(date +%s%N)

settle=$((seconds >= 1800 ? 600 : seconds / 3))
awk -v p=$((p1 - p0)) -v x=$((x1 - x0)) -v hz="$hz" -v s="$seconds" -v size="$size" \
    -v peak="$peak" -v settle="$settle" -v ms=$(((t1 - t0) / 1000000)) -v st="$status" \
    -v args="${QV_SAVER_ARGS:-}" '
    $1 > settle { n++; sx += $1; sy += $2; sxx += $1 * $1; sxy += $1 * $2 }
    END {
        slope = n > 1 ? (n * sxy - sx * sy) / (n * sxx - sx * sx) : 0
        printf "quorvane /s %s on %s over %d s: saver %5.1f %% of a core, X server %5.1f %%\n",
               args, size, s, 100 * p / hz / s, 100 * x / hz / s
        printf "peak memory %.1f MB; resident memory after %d s grows %.1f kB a minute\n",
               peak / 1024, settle, slope * 60
        printf "key press to process exit: %d ms (exit status %d)\n", ms, st }' "$log"
