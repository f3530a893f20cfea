#!/bin/sh
# The longest piece of work between two looks at the input, for every style:
# each style alone for three seeds, then three whole runs, headless at WxH,
# in a Release build with QV_POLL_TIMING (which costs nothing when off). The
# work is the thread's processor time between the looks; the wall time,
# which also holds whatever else the machine ran meanwhile, is shown beside.
#
#   bench/poll_gap.sh [BUILD_DIR] [SECONDS] [WxH]
#
# BUILD_DIR defaults to build/polltiming, SECONDS (simulated, for each run
# of a style alone; whole runs take ten times as long) to 120, the size to
# 1920x1080.
set -eu
build="${1:-build/polltiming}"
seconds="${2:-120}"
size="${3:-1920x1080}"
here="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQV_POLL_TIMING=ON -DQV_BUILD_TESTS=OFF \
    -DQV_BUILD_BENCH=OFF -DQV_BUILD_CONFIG=OFF >/dev/null
cmake --build "$build" --target quorvane -j 2 >/dev/null
exe="$build/quorvane"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log="$work/timing.txt"

run() {
    QUORVANE_CONFIG_DIR="$work" "$exe" --render "$work/still.png" --size "$size" "$@" \
        2>&1 >/dev/null | grep '^poll timing: .* looks$' >>"$log" || true
}

for style in $("$exe" --list-styles | awk '{ print $2 }'); do
    for seed in 1 2 3; do run --style "$style" --seed "$seed" --seconds "$seconds"; done
done
for seed in 1 2 3; do run --seed "$seed" --seconds $((seconds * 10)); done

# "poll timing: NAME longest W ms of work, T ms of wall time, over N looks"
awk '{ name = $3; w = $5; t = $9
       if (w > work[name]) work[name] = w
       if (t > wall[name]) wall[name] = t
       looks[name] += $15 }
     END {
       for (n in work) printf "%-16s %9.3f ms of work %9.3f ms of wall time %12.0f looks\n",
                              n, work[n], wall[n], looks[n]
     }' "$log" | sort -k2 -n -r >"$work/table.txt"
echo "longest work between two looks at the input, $size, by style (worst first):"
cat "$work/table.txt"
head -n 1 "$work/table.txt" | awk '{ printf "worst: %s ms, in %s\n", $2, $1 }'
