#!/bin/sh
# Soak test: many short headless runs of the sanitized saver, with fixed
# seeds, at a small size.
#
#   soak.sh run SRC EXE OUT DEPTH whole|styles
#       whole: runs at default settings with every style in the choice;
#       styles: each style alone (--style NAME), a few seeds each. A run
#       fails on a sanitizer report, a non-zero exit or signal, or when it
#       outlives its wall-clock limit ($SOAK_TIMEOUT seconds, default 300).
#       The factories' trace lines of all runs go to OUT/DEPTH-KIND.seen.
#   soak.sh check SRC EXE OUT
#       reports the style and member classes seen in OUT/*.seen, and fails
#       when a style or a factory of the source tree (a trace line naming
#       the class it made) was never seen.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../../scripts/headless.sh"

# The styles the program draws, as it lists them.
styles() {
    "$1" --list-styles | awk '{ print $2 }'
}

# Every factory's "made" trace call in the source, as
# "Source : (typeid(...))"; a call may spread over lines.
factory_sites() {
    for f in $(grep -rl 'traceMade(' "$1/src"); do
        tr -s '\n\t ' '   ' <"$f" | grep -o 'traceMade("[A-Za-z0-9_]*", *[A-Za-z0-9_]*, *"(typeid[^"]*"' || true
    done | sed 's/^traceMade("\([A-Za-z0-9_]*\)", *[A-Za-z0-9_]*, *"\(.*\)"$/\1 : \2/' | sort -u
}

# A few pictures for the image style, in the formats it reads.
make_images() {
    mkdir -p "$1"
    command -v convert >/dev/null || return 0
    convert -size 96x64 gradient:red-blue "$1/gradient.jpg"
    convert -size 80x60 pattern:checkerboard -interlace Plane "$1/checker.jpg"
    convert -seed 3 -size 70x50 plasma:fractal -colorspace Gray "$1/gray.jpg"
    convert -size 33x21 xc:orange "$1/orange.bmp"
    convert -size 45x30 gradient:yellow-green -type Palette "BMP3:$1/palette.bmp"
}

# soak_one NAME ARGS...: one run; prints a line about it, returns non-zero
# when it failed.
soak_one() {
    name="$1"
    shift
    dir="$out/runs/$name"
    rm -rf "$dir"
    mkdir -p "$dir"
    status=0
    HEADLESS_WRAP="timeout -k 10 ${SOAK_TIMEOUT:-300}" headless_run "$dir" "$exe" "$@" || status=$?
    if [ -f "$dir/trace.txt" ]; then trace_factories "$dir/trace.txt" >>"$seen"; fi
    why=""
    if grep -qE 'runtime error|AddressSanitizer|LeakSanitizer|ERROR: [A-Za-z]*Sanitizer' "$dir/stderr"; then
        why="sanitizer report"
    elif [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
        why="hung: still running after ${SOAK_TIMEOUT:-300} s"
    elif [ "$status" -gt 128 ]; then
        why="killed by signal $((status - 128))"
    elif [ "$status" -ne 0 ]; then
        why="exit status $status"
    fi
    drawn=$(trace_styles "$dir/trace.txt" 2>/dev/null | wc -l)
    # Every run makes a style at its first paint, and the trace log says so.
    if [ -z "$why" ] && [ "$drawn" -eq 0 ]; then why="no style made, or no trace log"; fi
    read -r wall user sys peak <"$dir/time" || true
    awk -v n="$name" -v w="${wall:-0}" -v u="${user:-0}" -v s="${sys:-0}" -v m="${peak:-0}" \
        -v d="$drawn" -v why="${why:-ok}" 'BEGIN {
        printf "%-26s %6.2f s wall %6.2f s CPU %6.1f MB peak %5d drawings  %s\n", n, w, u + s, m / 1024, d, why }'
    [ -z "$why" ] && return 0
    echo "---- quorvane $* (stderr, first 60 lines):"
    head -n 60 "$dir/stderr"
    echo "----"
    return 1
}

run() {
    src="$1" exe="$2" out="$3" depth="$4" kind="$5"
    mkdir -p "$out"
    seen="$out/$depth-$kind.seen"
    : >"$seen"
    # Sanitizer reports stop the run with an exit status of their own.
    export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:exitcode=86"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=87"
    # Pictures for the image style; each group makes its own, as the groups
    # run side by side.
    images="$out/images-$depth-$kind"
    make_images "$images"
    failed=0
    start=$(date +%s)
    case "$kind" in
        whole)
            # Seed, size and simulated seconds of each run; odd sizes too,
            # for rows that are not a whole number of words.
            for run in "11 160x120 100" "12 160x120 100" "13 160x120 100" "14 160x120 100" \
                "15 321x181 40" "16 97x61 100"; do
                set -- $run
                seconds="$3"
                # Two dot offsets are made nowhere else, late in these.
                if [ "$depth" = 32 ] && { [ "$1" = 11 ] || [ "$1" = 13 ]; }; then seconds=200; fi
                soak_one "d$depth-whole-$1" --size "$2" --seconds "$seconds" --seed "$1" \
                    --depth "$depth" || failed=$((failed + 1))
            done
            # And one with pictures to show, so that the image style takes
            # its turn among the others.
            HEADLESS_IMAGES="$images" soak_one "d$depth-whole-17-pictures" --size 160x120 \
                --seconds 100 --seed 17 --depth "$depth" || failed=$((failed + 1))
            ;;
        styles)
            for style in $(styles "$exe"); do
                # These end each drawing at once at this size and make dozens
                # a second; a second or less is plenty.
                case "$style" in
                    Draw) seconds=0.7 ;;
                    PolygonsStatic | Cookies) seconds=1 ;;
                    *) seconds=5 ;;
                esac
                for seed in 1 2 3; do
                    # Seed 1 of the lines makes a liner seen nowhere else,
                    # ten seconds in.
                    long="$seconds"
                    [ "$style" = Lines ] && [ "$seed" = 1 ] && long=12
                    pictures=""
                    # The last seed of the image style runs without pictures.
                    [ "$style" = Bitmap ] && [ "$seed" -lt 3 ] && pictures="$images"
                    HEADLESS_IMAGES="$pictures" soak_one "d$depth-$style-$seed" --size 160x120 \
                        --seconds "$long" --seed "$seed" --depth "$depth" --style "$style" ||
                        failed=$((failed + 1))
                done
            done
            ;;
        *)
            echo "soak.sh: no kind of run '$kind'" >&2
            exit 2
            ;;
    esac
    echo "depth $depth, $kind runs: $failed failed, $(($(date +%s) - start)) s"
    [ "$failed" -eq 0 ]
}

check() {
    src="$1" exe="$2" out="$3"
    all="$out/all.seen"
    cat "$out"/*-*.seen >"$all"
    missing=0
    echo "Styles (drawings made with each):"
    for style in $(styles "$exe"); do
        n=$(grep -c "^Scenewnd : .* = $style\$" "$all" || true)
        printf '  %-16s %5d\n' "$style" "$n"
        if [ "$n" -eq 0 ]; then
            echo "  style $style was never made"
            missing=$((missing + 1))
        fi
    done
    echo "Factories (distinct classes made: class names):"
    factory_sites "$src" >"$out/factories"
    sites=0
    while IFS= read -r site; do
        sites=$((sites + 1))
        classes=$(awk -v s="$site = " 'index($0, s) == 1 { print substr($0, length(s) + 1) }' "$all" |
            sort -u | tr '\n' ' ')
        count=$(echo "$classes" | wc -w)
        printf '  %-46s %3d: %s\n' "$site" "$count" "$classes"
        if [ "$count" -eq 0 ]; then
            echo "  factory $site never made anything"
            missing=$((missing + 1))
        fi
    done <"$out/factories"
    nstyles=$(grep '^Scenewnd : ' "$all" | sed 's/.* = //' | sort -u | wc -l)
    # Some factories name their classes as the compiler does ("11DotIfDarker").
    nmembers=$(grep -v '^Scenewnd : ' "$all" | sed 's/.* = [0-9]*//' | sort -u | wc -l)
    echo "Seen: $nstyles style classes of $(styles "$exe" | wc -l), $nmembers member classes," \
        "from $sites factories in the source"
    [ "$missing" -eq 0 ]
}

case "${1:-}" in
    run)
        shift
        run "$@"
        ;;
    check)
        shift
        check "$@"
        ;;
    *)
        echo "usage: soak.sh run SRC EXE OUT DEPTH whole|styles | soak.sh check SRC EXE OUT" >&2
        exit 2
        ;;
esac
