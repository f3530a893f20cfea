#!/bin/sh
# Headless throughput: one run of `quorvane --render` at default settings
# under the simulated clock, and how fast it went.
#
#   bench/headless_throughput.sh [BUILD_DIR] [SECONDS] [WxH] [SEED]
#
# BUILD_DIR defaults to build/release (quorvane is built there first),
# SECONDS to 3600 simulated seconds, the size to 1920x1080, the seed to 1.
# Prints simulated seconds per wall second, CPU seconds, peak memory and the
# styles the run made.
set -eu
build="${1:-build/release}"
seconds="${2:-3600}"
size="${3:-1920x1080}"
seed="${4:-1}"
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/scripts/headless.sh"
[ -f "$build/CMakeCache.txt" ] || cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quorvane -j 2 >/dev/null

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
status=0
headless_run "$dir" "$build/quorvane" --size "$size" --seconds "$seconds" --seed "$seed" || status=$?
headless_summary "$dir" "$seconds" "seed $seed"
[ "$status" -eq 0 ] || { echo "quorvane ended with status $status:"; cat "$dir/stderr"; exit 1; }
