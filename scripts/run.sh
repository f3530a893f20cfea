#!/bin/sh
# `make run`: the saver in a window when there is a display, otherwise a few
# stills rendered headless into out/, whose paths are printed.
set -eu
exe="$1"
# The program draws through X11 unless SDL_VIDEODRIVER names another driver.
if [ -n "${DISPLAY:-}" ] || [ -n "${SDL_VIDEODRIVER:-}" ]; then
    exec "$exe" --window
fi
echo "quorvane: no display (DISPLAY is not set), so no window: rendering stills into out/ instead" >&2
mkdir -p out
# Each still gets a fresh seed, which the program prints; --seed N repeats it.
for n in 1 2 3 4; do
    "$exe" --render "out/still-$n.png"
    echo "out/still-$n.png"
done
