#!/bin/sh
# The Windows program draws the same pixels as the Linux program for the same
# seed, size and styles, wherever no text and no JPEG enter:
#
#   render_compare.sh SESSION WINDOWS_PROGRAM LINUX_PROGRAM WORK
#
# Both render headless under the simulated clock with default settings (the
# Linux program reads an empty settings folder; the fresh Wine prefix has
# none). The pictures are compared pixel by pixel with ImageMagick.
set -eu
session=$1
windows=$2
linux=$3
work=$4
here=$(dirname "$0")
rm -rf "$work"
mkdir -p "$work/config"
failed=0
while read -r name args; do
    [ -n "$name" ] || continue
    # shellcheck disable=SC2086 # the arguments are words
    if ! QUORVANE_CONFIG_DIR="$work/config" "$linux" --render "$work/$name-linux.png" $args 2>"$work/$name-linux.log"; then
        echo "$name: the Linux program failed: $(cat "$work/$name-linux.log")"
        failed=1
        continue
    fi
    # shellcheck disable=SC2086
    if ! sh "$here/run.sh" "$session" "$windows" --render "$work/$name-windows.png" $args 2>"$work/$name-windows.log"; then
        echo "$name: the Windows program failed: $(cat "$work/$name-windows.log")"
        failed=1
        continue
    fi
    differ=$(compare -metric AE "$work/$name-linux.png" "$work/$name-windows.png" "$work/$name-diff.png" 2>&1) || true
    if [ "$differ" = 0 ]; then
        echo "$name: the same pixels"
    else
        echo "$name: $differ pixels differ (see $work/$name-diff.png)"
        failed=1
    fi
done <<CASES
design --style Design --seed 7 --size 640x360 --seconds 20
cookies-8bit --style Cookies --seed 3 --size 640x360 --seconds 20 --depth 8
no-text-mix --style Design,Plasma,Lines,PolygonsMoving,Draw,Turtle,Cookies,Dots,Distort,Shrinker,Interp,Scroll,Repaint,BlockPaint,Sketch,Offset,Blur,PolygonsStatic --seed 11 --size 480x270 --seconds 180
CASES
exit $failed
