#!/bin/sh
# Presents and X round trips per second of the program in a window under
# Xvfb: counts the calls that show a window (XShmPutImage, XPutImage, or
# SDL_UpdateWindowSurfaceRects where SDL's framebuffer shows it) and of
# XSync with perf's user-space probes (needs root), over a number of
# seconds after the first one.
#
#   bench/present_rate.sh [PROGRAM] [WxH] [SECONDS]
#
# PROGRAM defaults to build/release/quorvane, WxH to 1920x1080, SECONDS to 10.
set -eu
program="${1:-build/release/quorvane}"
size="${2:-1920x1080}"
seconds="${3:-10}"
here="$(cd "$(dirname "$0")/.." && pwd)"
sdl=$(ldd "$program" | awk '/libSDL2-2.0/ { print $3 }')
x11=$(ldd "$program" | awk '/libX11.so/ { print $3 }')
xext=$(ldd "$program" | awk '/libXext.so/ { print $3 }')
[ -n "$xext" ] || xext=$(ldconfig -p | awk '/libXext.so.6 / { print $NF; exit }')
perf probe -q -x "$sdl" SDL_UpdateWindowSurfaceRects 2>/dev/null || true
perf probe -q -x "$x11" XSync 2>/dev/null || true
perf probe -q -x "$x11" XPutImage 2>/dev/null || true
perf probe -q -x "$xext" XShmPutImage 2>/dev/null || true

. "$here/bench/common.sh"
start_xvfb "$size"
trap 'kill $xvfb 2>/dev/null' EXIT
config=$(mktemp -d)
DISPLAY="$display" QUORVANE_CONFIG_DIR="$config" "$program" --window "$size" --seed 7 >/dev/null 2>&1 &
pid=$!
sleep 1
out=$(mktemp)
perf stat -x, -e probe_libSDL2:SDL_UpdateWindowSurfaceRects -e probe_libX11:XSync \
    -e probe_libX11:XPutImage -e probe_libXext:XShmPutImage -p "$pid" -o "$out" sleep "$seconds"
kill -TERM "$pid"; wait "$pid" || true
rm -rf "$config"
awk -F, -v s="$seconds" -v size="$size" '
    /SDL_UpdateWindowSurfaceRects/ { sdl = $1 } /XPutImage|XShmPutImage/ { put += $1 } /XSync/ { x = $1 }
    END { p = sdl > 0 ? sdl : put  # SDL puts the image itself
          printf "%s: %.1f presents a second, %.1f XSync a second (%d s)\n", size, p / s, x / s, s }' "$out"
rm -f "$out"
