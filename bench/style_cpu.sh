#!/bin/sh
# The saver's CPU for every style alone, each full screen in real time on an
# Xvfb screen of WxH for SECONDS (default 60): the styles that cost most
# come first.
#
#   bench/style_cpu.sh [BUILD_DIR] [SECONDS] [WxH] [SEED]
set -eu
build="${1:-build/release}"
seconds="${2:-60}"
size="${3:-1920x1080}"
seed="${4:-1}"
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/bench/common.sh"
build_target "$build" quorvane
for style in $("$build/quorvane" --list-styles | awk '{ print $2 }'); do
    QV_SAVER_ARGS="--style $style" sh "$here/bench/whole_run.sh" "$build" "$seconds" "$size" "$seed" |
        awk -v s="$style" '/of a core/ { printf "%-16s saver %5.1f %%  X server %5.1f %%\n", s, $(NF - 8), $(NF - 1) }'
done | sort -k3 -n -r
