#!/bin/sh
# What a viewer sees, counted (a measurement, not a test):
#
#  1. stills: every style alone (--style), seeds 1 to STILL_SEEDS, at
#     STILL_SIZE after the gallery's seconds for that style; a still has
#     nothing to look at when one colour covers 90 % of it or it has fewer
#     than 16 colours;
#  2. whole runs at the default settings, seeds 1 to RUN_SEEDS, RUN_SECONDS
#     simulated seconds at RUN_SIZE: the drawings that lasted under a second
#     (from the trace log: the time from one style's start to the next),
#     and the frames, one a simulated second, that are 90 % one colour (with
#     the runs and seconds they fall on); frames of under 16 colours are
#     counted apart.
#
#   bench/pictures.sh QUORVANE [CENSUS]
#
# CENSUS is the picture counter (bench_picture_census, built beside the
# benchmarks; default: next to QUORVANE, then build/dbg/bench). The defaults
# are small enough for a shared two-core machine: STILL_SEEDS=6,
# STILL_SIZE=960x540, RUN_SEEDS=6, RUN_SECONDS=120, RUN_SIZE=960x540, JOBS=2.
# KEEP=DIR keeps the stills (and the last frame of each run) there;
# SHEET=FILE makes a contact sheet of the runs' last frames (ImageMagick).
set -eu
exe=$(realpath "$1")
here=$(cd "$(dirname "$0")/.." && pwd)
census=${2:-}
if [ -z "$census" ]; then
    for c in "$(dirname "$exe")/bench/bench_picture_census" "$here/build/dbg/bench/bench_picture_census"; do
        [ -x "$c" ] && census=$c && break
    done
fi
[ -n "$census" ] && [ -x "$census" ] || { echo "pictures: no bench_picture_census to count with" >&2; exit 1; }
census=$(realpath "$census")
still_seeds=${STILL_SEEDS:-6}
still_size=${STILL_SIZE:-960x540}
run_seeds=${RUN_SEEDS:-6}
run_seconds=${RUN_SECONDS:-120}
run_size=${RUN_SIZE:-960x540}
jobs=${JOBS:-2}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The gallery's seconds for each style.
eval "$(sed -n '/^seconds_of()/,/^}/p' "$here/scripts/gallery.sh")"

# Settings as the gallery has them: the defaults, a first message, the
# gallery's own pictures for the image style. The whole runs' message asks
# for the trace log, which then is never emptied during a run.
mkdir -p "$work/styles" "$work/stills"
printf '[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\nMessage0=Quorvane\n' >"$work/styles/registry.ini"
printf '[Quorvane]\nFolders=%s\n' "$here/docs/gallery/images" >"$work/styles/Quorvane5.ini"

"$exe" --list-styles | awk '{ print $2 }' >"$work/list"
: >"$work/jobs"
for style in $(cat "$work/list"); do
    seed=1
    while [ "$seed" -le "$still_seeds" ]; do
        echo "still $style-$seed.png $seed $(seconds_of "$style") --style=$style" >>"$work/jobs"
        seed=$((seed + 1))
    done
done
seed=1
while [ "$seed" -le "$run_seeds" ]; do
    echo "run $seed $seed $run_seconds" >>"$work/jobs"
    seed=$((seed + 1))
done

# One job a line: KIND NAME SEED SECONDS [--style=NAME].
xargs -P "$jobs" -L 1 sh -c '
    work=$0 exe=$1 census=$2 still_size=$3 run_size=$4
    kind=$5 name=$6 seed=$7 seconds=$8 style=${9:-}
    if [ "$kind" = still ]; then
        QUORVANE_CONFIG_DIR="$work/styles" env -u DISPLAY -u WAYLAND_DISPLAY \
            "$exe" --render "$work/stills/$name" --size "$still_size" --seed "$seed" --seconds "$seconds" $style
    else
        run="$work/run-$name"
        mkdir -p "$run/config" "$run/frames"
        printf "[HKEY_CURRENT_USER\\\\Software\\\\Quorvane\\\\Quorvane5\\\\Config]\nMessage0=trace\n" >"$run/config/registry.ini"
        QUORVANE_CONFIG_DIR="$run/config" TEMP="$run" env -u QUORTEMP -u DISPLAY -u WAYLAND_DISPLAY \
            "$exe" --frames "$run/frames" --fps 1 --size "$run_size" --seed "$seed" --seconds "$seconds"
        "$census" "$run"/frames/*.png >"$run/census"
        last=$(ls "$run"/frames/*.png | tail -n 1)
        mv "$last" "$run/last.png"
        rm -rf "$run/frames"
    fi' "$work" "$exe" "$census" "$still_size" "$run_size" <"$work/jobs"

"$census" "$work"/stills/*.png >"$work/stills.census"
flat=$(awk '$3 == 1' "$work/stills.census" | wc -l)
total=$(wc -l <"$work/stills.census")
echo "stills with nothing to look at: $flat of $total ($still_size, seeds 1-$still_seeds)"
awk '$3 == 1 { n = split($4, p, "/"); printf "  %s (%.0f %% one colour, %d colours)\n", p[n], $1, $2 }' \
    "$work/stills.census"

# The trace's first column is the time since the line before; a style's
# drawing runs from its line 1053 to the next one (or to the end).
# RUN_SEEDS=0 counts the stills alone.
if [ "$run_seeds" -gt 0 ]; then
    for run in "$work"/run-*; do
        awk -v end=$((run_seconds * 1000)) '
            { t += $1 }
            / line 1053 / { if (n++) { d = t - start; if (d < 1000) short++ } start = t }
            END { if (n) { if (end - start < 1000) short++ } printf "%d %d\n", n, short }' "$run/trace.txt"
    done >"$work/drawings"
    awk -v s="$run_seeds" -v sec="$run_seconds" -v size="$run_size" '
        { n += $1; short += $2 }
        END { printf "drawings under a second: %d of %d (%.0f %%) in %d runs of %d s at %s\n",
                     short, n, n ? 100 * short / n : 0, s, sec, size }' "$work/drawings"
    # A frame of a run is flat when one colour covers 90 % of it; a frame
    # of a few colours over the rest of it (a posterised picture, a pattern
    # of solid blocks) is counted apart, as the stills would count it.
    cat "$work"/run-*/census | awk '
        { n++; if ($1 >= 90) flat++; else if ($3 == 1) few++ }
        END { printf "flat frames (90 %% one colour): %d of %d (%.1f %%), one a second\n", flat, n, n ? 100 * flat / n : 0
              printf "frames of under 16 colours otherwise: %d (%.1f %%)\n", few, n ? 100 * few / n : 0 }'
    # Which runs they come from, and the seconds (frames) they fall on: the
    # first seconds of a run are its background; a stretch later on is a
    # drawing to look for in that run's trace.
    for run in "$work"/run-*; do
        awk -v run="${run##*-}" '$1 >= 90 { n++; s = s " " NR } $1 < 90 && $3 == 1 { f++; t = t " " NR }
            END { if (n) printf "  run %s: %d flat, at seconds%s\n", run, n, substr(s, 1, 120)
                  if (f) printf "  run %s: %d of few colours, at seconds%s\n", run, f, substr(t, 1, 120) }' "$run/census"
    done | sort -t' ' -k4 -n
fi

if [ -n "${KEEP:-}" ]; then
    mkdir -p "$KEEP"
    cp "$work"/stills/*.png "$KEEP"/
    for run in "$work"/run-*; do [ ! -d "$run" ] || cp "$run/last.png" "$KEEP/whole-${run##*-}.png"; done
fi
if [ -n "${SHEET:-}" ]; then
    for run in "$work"/run-*; do echo "$run/last.png"; done | sort -t- -k2 -n >"$work/sheet"
    montage $(cat "$work/sheet") -tile 5x -geometry 384x216+4+4 -background '#202020' "$SHEET"
fi
