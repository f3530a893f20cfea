#!/bin/sh
# The Windows program under Wine beside the Linux program, in the same run,
# full screen (/s) on one Xvfb screen of WxH at default settings: the CPU
# each takes of one core (the program's own process; Wine's server and the
# X server apart), the time from a movement of the mouse to the end of the
# process (not a key: on this X server Wine's window never has the
# keyboard focus), and the time from the start to the first picture (the
# screen holding more than one colour, looked at every 10 ms by
# bench_first_picture). Wine is started and warmed up first, in a prefix of
# its own, and one Windows program is kept running beside the measured ones,
# as a desktop session would have: otherwise each start would also start
# Wine's desktop process. A bare Windows window program (bench/bare_window.c)
# is timed to its first picture too, the least Wine allows here. A window
# manager (openbox) runs as on a desktop:
# without one, Wine waits two seconds for it whenever a window goes.
#
#   bench/windows_vs_linux.sh [LINUX_BUILD] [WINDOWS_BUILD] [SECONDS] [WxH]
#
# LINUX_BUILD defaults to build/release (quorvane and the tool are built
# there), WINDOWS_BUILD to build/windows-x64 (made by `make windows`),
# SECONDS to 30.
set -eu
linux_build="${1:-build/release}"
windows_build="${2:-build/windows-x64}"
seconds="${3:-30}"
size="${4:-1920x1080}"
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/bench/common.sh"
build_target "$linux_build" quorvane
build_target "$linux_build" bench_first_picture
[ -f "$windows_build/quorvane.scr" ] || { echo "no $windows_build/quorvane.scr: make windows" >&2; exit 1; }

saver_screen "$size"
export WINEPREFIX="$config/wine" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
mkdir -p "$WINEPREFIX"
DISPLAY="$display" openbox >/dev/null 2>&1 &
wm=$!
trap 'WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null; kill $wm $xvfb 2>/dev/null; rm -rf "$config"' EXIT
DISPLAY="$display" wineserver -p
DISPLAY="$display" wineboot -i >/dev/null 2>&1
DISPLAY="$display" wine "$windows_build/quorvane.scr" --version >/dev/null 2>&1
# The resident program: a console that waits as long as the measurements.
DISPLAY="$display" wine cmd /c "ping -n $((2 * seconds + 60)) 127.0.0.1 >nul" >/dev/null 2>&1 &
sleep 3

# measure NAME COMMAND...: one full-screen run.
measure() {
    name=$1
    shift
    t0=$(date +%s%N)
    DISPLAY="$display" QUORVANE_CONFIG_DIR="$config" "$@" /s /r7 >/dev/null 2>&1 &
    pid=$!
    first=$(DISPLAY="$display" "$linux_build/bench/bench_first_picture" "$t0")
    sleep 2
    p0=$(ticks "$pid")
    sleep "$seconds"
    p1=$(ticks "$pid")
    t1=$(date +%s%N)
    DISPLAY="$display" xdotool mousemove_relative 100 100
    status=0
    wait "$pid" || status=$?
    t2=$(date +%s%N)
    awk -v n="$name" -v p=$((p1 - p0)) -v hz="$hz" -v s="$seconds" -v f="$first" \
        -v ms=$(((t2 - t1) / 1000000)) -v st="$status" 'BEGIN {
        printf "%-8s %5.1f %% of a core, movement to exit %4d ms (status %d), start to first picture %5d ms\n",
               n, 100 * p / hz / s, ms, st, f }'
    # The screen goes back to one colour before the next run.
    sleep 1
}

echo "quorvane /s at $size over $seconds s, default settings, seed 7"
# What Wine's start of a program costs by itself: a run that only answers.
t0=$(date +%s%N)
DISPLAY="$display" wine "$windows_build/quorvane.scr" --version >/dev/null 2>&1
echo "Wine's start and end of a program that draws nothing: $((($(date +%s%N) - t0) / 1000000)) ms"
# The least a Windows program takes to its first picture here.
x86_64-w64-mingw32-gcc-posix -O2 -mwindows -o "$config/bare.exe" "$here/bench/bare_window.c"
t0=$(date +%s%N)
DISPLAY="$display" wine "$config/bare.exe" >/dev/null 2>&1 &
echo "a bare Windows window program: start to first picture $(DISPLAY="$display" "$linux_build/bench/bench_first_picture" "$t0") ms"
wait $!
sleep 1
measure linux "$linux_build/quorvane"
measure windows wine "$windows_build/quorvane.scr"
