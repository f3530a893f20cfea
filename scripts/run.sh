#!/bin/sh
# `make run`: the saver in a window when there is a display, otherwise a few
# stills rendered headless into out/, whose paths are printed.
set -eu
exe="$1"
# The program draws through X11 unless SDL_VIDEODRIVER names another driver.
if [ -n "${DISPLAY:-}" ] || [ -n "${SDL_VIDEODRIVER:-}" ]; then
    exec "$exe" --window
fi
mkdir -p out
for seed in 1 2 3 4; do
    "$exe" --render "out/still-$seed.png" --seed "$seed"
    echo "out/still-$seed.png"
done
