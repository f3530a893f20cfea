#!/bin/sh
# The committed gallery is what `make gallery` makes today: the pictures are
# rendered again with the program under test and compared, pixel by pixel
# with ImageMagick (the files also hold the version that wrote them, so
# their bytes differ between versions), with those in docs/gallery: every
# picture must be in both. The help page's table of the styles is written
# again from the program's list and compared with the committed page.
#
# usage: gallery_test.sh QUORVANE SOURCE_DIR
set -eu
exe=$1 src=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cp "$src/docs/quorvane.htm" "$out/page.htm"
sh "$src/scripts/gallery.sh" "$exe" "$out/gallery" "$out/page.htm"
[ -n "$(ls "$out/gallery")" ] || { echo "no pictures made in $out/gallery" >&2; exit 1; }
status=0 stale=0
for name in $( (cd "$out/gallery" && ls -- *.png; cd "$src/docs/gallery" && ls -- *.png) | sort -u); do
    fresh=$out/gallery/$name committed=$src/docs/gallery/$name
    if [ ! -e "$committed" ]; then
        why="is not in"
    elif [ ! -e "$fresh" ]; then
        why="is no longer made, yet is in"
    elif [ "$(compare -metric AE "$fresh" "$committed" null: 2>&1)" != 0 ]; then
        why="differs from the one in"
    else
        continue
    fi
    echo "stale picture: $name $why docs/gallery" >&2
    stale=$((stale + 1))
done
if [ "$stale" -gt 0 ]; then
    echo "$stale pictures are stale: run make gallery, look at them, and commit them" >&2
    status=1
fi
if ! cmp -s "$out/page.htm" "$src/docs/quorvane.htm"; then
    diff "$src/docs/quorvane.htm" "$out/page.htm" >&2 || true
    echo "the table of styles in docs/quorvane.htm is stale: run make gallery" >&2
    status=1
fi
exit $status
