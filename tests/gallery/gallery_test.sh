#!/bin/sh
# The committed gallery is what `make gallery` makes today: the pictures are
# rendered again with the program under test and compared, pixel by pixel,
# with those in docs/gallery, and the help page's table of the styles is
# written again from the program's list and compared with the committed page.
#
# usage: gallery_test.sh QUORVANE COMPARE_TOOL SOURCE_DIR
set -eu
exe=$1 compare=$2 src=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cp "$src/docs/quorvane.htm" "$out/page.htm"
sh "$src/scripts/gallery.sh" "$exe" "$out/gallery" "$out/page.htm"
status=0
"$compare" "$out/gallery" "$src/docs/gallery" || status=1
if ! cmp -s "$out/page.htm" "$src/docs/quorvane.htm"; then
    diff "$src/docs/quorvane.htm" "$out/page.htm" >&2 || true
    echo "the table of styles in docs/quorvane.htm is stale: run make gallery" >&2
    status=1
fi
exit $status
