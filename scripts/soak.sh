#!/bin/sh
# `make soak`: long headless runs of the optimised saver at default settings,
# one per seed, with the wall time, peak memory and styles of each.
#
#   scripts/soak.sh EXE [OUT]
#
# OUT (default build/soak) keeps each seed's figures and the styles it made
# (its trace log, of up to a hundred MB, only with SOAK_KEEP_TRACE=1). SOAK_SEEDS
# (default 20: seeds 1..20), SOAK_SECONDS (3600 simulated seconds), SOAK_SIZE
# (1920x1080) and SOAK_JOBS (2 seeds at once) change the run. A seed that
# takes more than SOAK_MAX_WALL seconds (120) or SOAK_MAX_MB of memory (120)
# is named at the end; the script fails only when a run fails.
set -eu
exe="$1"
out="${2:-build/soak}"
seeds="${SOAK_SEEDS:-20}"
seconds="${SOAK_SECONDS:-3600}"
size="${SOAK_SIZE:-1920x1080}"
jobs="${SOAK_JOBS:-2}"
max_wall="${SOAK_MAX_WALL:-120}"
max_mb="${SOAK_MAX_MB:-120}"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/headless.sh"

rm -rf "$out"
mkdir -p "$out"
echo "soak: $seeds seeds x $seconds simulated s at $size, $jobs seeds at a time" \
    "(wall times include waiting for the other's core)"

# One lane of seeds: first, first+jobs, ...
lane() {
    seed=$1
    while [ "$seed" -le "$seeds" ]; do
        status=0
        headless_run "$out/seed-$seed" "$exe" --size "$size" --seconds "$seconds" --seed "$seed" ||
            status=$?
        echo "$status" >"$out/seed-$seed/status"
        headless_summary "$out/seed-$seed" "$seconds" "seed $seed" | tee "$out/seed-$seed/summary"
        trace_styles "$out/seed-$seed/trace.txt" >"$out/seed-$seed/styles"
        [ "${SOAK_KEEP_TRACE:-0}" = 1 ] || rm -f "$out/seed-$seed/trace.txt"
        [ "$status" -eq 0 ] || echo "seed $seed: quorvane ended with status $status"
        seed=$((seed + jobs))
    done
}

start=$(date +%s)
lane_pids=""
lane_no=1
while [ "$lane_no" -le "$jobs" ]; do
    lane "$lane_no" &
    lane_pids="$lane_pids $!"
    lane_no=$((lane_no + 1))
done
for pid in $lane_pids; do wait "$pid"; done
elapsed=$(($(date +%s) - start))

failed=0
: >"$out/times"
seed=1
while [ "$seed" -le "$seeds" ]; do
    d="$out/seed-$seed"
    [ "$(cat "$d/status")" = 0 ] || failed=$((failed + 1))
    echo "$seed $(cat "$d/time")" >>"$out/times"
    read -r _ wall _ _ peak <<EOF
$seed $(cat "$d/time")
EOF
    if awk -v w="$wall" -v m="$peak" -v mw="$max_wall" -v mm="$max_mb" \
        'BEGIN { exit !(w > mw || m / 1024 > mm) }'; then
        echo "seed $seed missed the goal ($max_wall s, $max_mb MB): $(cat "$d/summary")"
    fi
    seed=$((seed + 1))
done

echo "summary over $seeds seeds ($jobs at a time, $elapsed s in all):"
awk -v sim="$seconds" -v n="$seeds" -v elapsed="$elapsed" '
    { wall += $2; cpu += $3 + $4; if ($2 > maxw) { maxw = $2; maxws = $1 }
      if ($5 > maxm) { maxm = $5; maxms = $1 } }
    END {
        printf "  wall: total %.0f s, mean %.1f s, max %.1f s (seed %d)\n", wall, wall / n, maxw, maxws
        printf "  CPU: total %.0f s, mean %.1f s\n", cpu, cpu / n
        printf "  peak memory: max %.1f MB (seed %d)\n", maxm / 1024, maxms
        printf "  throughput: %.1f simulated s per wall s per run, %.1f per CPU s, %.1f for the whole soak\n",
               sim * n / wall, sim * n / cpu, sim * n / elapsed
    }' "$out/times"
echo "  styles made across all seeds ($(cat "$out"/seed-*/styles | sort -u | wc -l) different; times):"
cat "$out"/seed-*/styles | sort | uniq -c | sort -rn | awk '{ printf "    %-16s %6d\n", $2, $1 }'
echo "  $failed runs failed"
[ "$failed" -eq 0 ]
