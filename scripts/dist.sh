#!/bin/sh
# Gathers the release artefacts of one version in OUTDIR, each with its
# SHA-256 sum beside it: the Debian package (already built in DEB_DIR), the
# Windows installer and portable zip (from the two built programs) and the
# source archive (from git's HEAD, so that only what is committed ships).
#
# usage: dist.sh OUTDIR DEB_DIR SCR64 SCR32     (`make dist` runs it)
set -eu
[ $# -eq 4 ] || { echo "usage: dist.sh OUTDIR DEB_DIR SCR64 SCR32" >&2; exit 2; }
out=$1 deb=$2 scr64=$3 scr32=$4
src=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(Quorvane VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
[ -n "$version" ] || { echo "quorvane: no version in CMakeLists.txt" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)

package=$(ls "$deb"/quorvane_"$version"_*.deb 2>/dev/null | head -n 1)
[ -n "$package" ] || { echo "quorvane: no Debian package of $version in $deb; run 'make deb'" >&2; exit 1; }
cp "$package" "$out/"

sh "$src/scripts/windows-dist.sh" "$version" "$scr64" "$scr32" "$out" >/dev/null

if git -C "$src" rev-parse --git-dir >/dev/null 2>&1; then
    git -C "$src" archive --format=tar.gz --prefix="quorvane-$version/" -o "$out/quorvane-$version.tar.gz" HEAD
else
    echo "quorvane: $src is not a git checkout; no source archive" >&2
    exit 1
fi

cd "$out"
for f in "$(basename "$package")" "quorvane-$version-setup.exe" "quorvane-$version-portable.zip" \
    "quorvane-$version.tar.gz"; do
    sha256sum "$f" >"$f.sha256"
    echo "$out/$f"
done
