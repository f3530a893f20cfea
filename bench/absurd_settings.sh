#!/bin/sh
# Headless renders with one absurd setting each, at the sizes where they
# cost most: the CPU each takes for SECONDS (default 600) simulated seconds,
# how many drawings it made and how often it opened a picture. No render of
# any setting should take more than a minute of CPU, and none should open
# pictures without pause.
#
#   bench/absurd_settings.sh [BUILD_DIR] [SECONDS] [LIMIT]
#
# A run still going after LIMIT seconds of wall time (default 300) is ended
# and reported as such. QV_EXE names a program built elsewhere to measure
# instead (BUILD_DIR is then not built).
set -eu
build="${1:-build/release}"
seconds="${2:-600}"
limit="${3:-300}"
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/bench/common.sh"
saver_program "$build"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
images="$work/images"
mkdir -p "$images"
if command -v convert >/dev/null; then
    convert -size 96x64 gradient:red-blue "$images/gradient.jpg"
    convert -size 33x21 xc:orange "$images/orange.bmp"
fi

# one STYLE WxH SETTING: a run with the trace log on and SETTING in the
# settings file.
one() {
    dir="$work/run"
    rm -rf "$dir"
    mkdir -p "$dir/settings"
    printf '[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\nMessage3=trace\n%s\n' "$3" \
        >"$dir/settings/registry.ini"
    printf '[Quorvane]\nFolders=%s*\n' "$images" >"$dir/settings/Quorvane5.ini"
    status=0
    env -u QUORTEMP QUORVANE_CONFIG_DIR="$dir/settings" TEMP="$dir" \
        /usr/bin/time -o "$dir/time" -f '%U %S' timeout -k 5 "$limit" \
        "$exe" --render "$dir/last.png" --size "$2" --seconds "$seconds" --seed 1 --style "$1" \
        2>/dev/null || status=$?
    cpu=$(tail -n 1 "$dir/time" | awk '{ print $1 + $2 }')
    drawings=$(grep -c 'Scenewnd line 1053' "$dir/trace.txt" 2>/dev/null || true)
    visits=$(grep -c 'sFilePathName' "$dir/trace.txt" 2>/dev/null || true)
    case "$status" in
        0) end="" ;;
        124 | 137) end="  NOT DONE: ended after $limit s" ;;
        *) end="  exit status $status" ;;
    esac
    printf '%-15s %-8s %-33s %7.2f s CPU %8s drawings %7s pictures%s\n' \
        "$1" "$2" "$3" "$cpu" "$drawings" "$visits" "$end"
}

echo "$seconds simulated seconds each:"
one PolygonsStatic 1x1 "MinTime=-1000000"
one PolygonsStatic 3x7 "DelayBetweenDrawings=2147483647"
one PolygonsStatic 1x1 "UseAnimation=0x1"
one PolygonsStatic 1x1 "MaxTime=0"
one Bitmap 152x112 "ImagePause=4294967295"
one Bitmap 152x112 "ImagePause=-2147483648"
one Bitmap 152x112 "ImagePause=2"
one Bitmap 152x112 "ImagePause=0"
