#!/bin/sh
# Headless throughput: one run of `quorvane --render` at default settings
# under the simulated clock, and how fast it went.
#
#   bench/headless_throughput.sh [BUILD_DIR] [SECONDS] [WxH] [SEED]
#
# BUILD_DIR defaults to build/release (quorvane is built there first),
# SECONDS to 3600 simulated seconds, the size to 1920x1080, the seed to 1.
# Prints simulated seconds per wall second and per CPU second, CPU seconds
# and peak memory. The settings are the defaults exactly and the trace log is
# off (`make soak` runs with it on, to tell which styles were drawn);
# HEADLESS_TRACE=1 switches it on here too, with the styles in the output.
set -eu
build="${1:-build/release}"
seconds="${2:-3600}"
size="${3:-1920x1080}"
seed="${4:-1}"
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/scripts/headless.sh"
. "$here/bench/common.sh"
build_target "$build" quorvane

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
status=0
HEADLESS_TRACE="${HEADLESS_TRACE:-0}" headless_run "$dir" "$build/quorvane" --size "$size" --seconds "$seconds" --seed "$seed" || status=$?
headless_summary "$dir" "$seconds" "seed $seed"
[ "$status" -eq 0 ] || { echo "quorvane ended with status $status:"; cat "$dir/stderr"; exit 1; }
