#!/bin/sh
# The committed gallery is what `make gallery` makes today: the gallery is
# rendered again with the program under test and compared, pixel by pixel,
# with the pictures in docs/gallery.
#
# usage: gallery_test.sh QUORVANE COMPARE_TOOL SOURCE_DIR
set -eu
exe=$1 compare=$2 src=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
sh "$src/scripts/gallery.sh" "$exe" "$out"
"$compare" "$out" "$src/docs/gallery"
