#!/bin/sh
# `make run`: the saver in a window when there is a display, otherwise a few
# stills rendered headless into out/.
set -eu
exe="$1"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$exe" --window
fi
mkdir -p out
for seed in 1 2 3 4; do
    "$exe" --render "out/still-$seed.png" --seed "$seed"
    echo "out/still-$seed.png"
done
