#!/bin/sh
# Makes the Windows release artefacts from the two built programs: the
# installer (64-bit Windows) and the portable zip with both programs.
#
# usage: windows-dist.sh VERSION SCR64 SCR32 OUTDIR
#   writes OUTDIR/quorvane-VERSION-setup.exe and OUTDIR/quorvane-VERSION-portable.zip
set -eu
[ $# -eq 4 ] || { echo "usage: windows-dist.sh VERSION SCR64 SCR32 OUTDIR" >&2; exit 2; }
version=$1 scr64=$2 scr32=$3 out=$4
src=$(cd "$(dirname "$0")/.." && pwd)
for f in "$scr64" "$scr32"; do
    [ -f "$f" ] || { echo "quorvane: no program at $f; run 'make windows' first" >&2; exit 1; }
done
mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# The help page and only the pictures it shows.
mkdir -p "$stage/docs/gallery"
cp "$src/docs/quorvane.htm" "$stage/docs/"
grep -o 'src="gallery/[^"]*"' "$src/docs/quorvane.htm" | sed 's/src="gallery\/\(.*\)"/\1/' | sort -u |
    while read -r picture; do cp "$src/docs/gallery/$picture" "$stage/docs/gallery/"; done

icon=""
[ -f "$src/packaging/windows/quorvane.ico" ] && icon="-DICON=$src/packaging/windows/quorvane.ico"
# shellcheck disable=SC2086
makensis -V2 -DVERSION="$version" -DSCR="$scr64" -DDOCS="$stage/docs" \
    -DOUTFILE="$out/quorvane-$version-setup.exe" $icon "$src/packaging/windows/quorvane.nsi" >/dev/null

# The portable archive: both programs, the help page, and how to install by hand.
name=quorvane-$version-portable
mkdir -p "$stage/$name/64-bit" "$stage/$name/32-bit"
cp "$scr64" "$stage/$name/64-bit/quorvane.scr"
cp "$scr32" "$stage/$name/32-bit/quorvane.scr"
cp -r "$stage/docs/quorvane.htm" "$stage/docs/gallery" "$stage/$name/"
sed "s/@VERSION@/$version/" "$src/packaging/windows/README.txt" | sed 's/$/\r/' >"$stage/$name/README.txt"
rm -f "$out/$name.zip"
(cd "$stage" && TZ=UTC find "$name" -exec touch -d @0 {} + && zip -qrX "$out/$name.zip" "$name")
echo "$out/quorvane-$version-setup.exe"
echo "$out/$name.zip"
