#!/bin/sh
# Builds the Debian package from the build tree, checks its control fields
# and its file list, and unpacks it into a temporary folder to check the
# tree it installs, without installing it on this machine.
#
# usage: deb_test.sh BUILD_DIR PREFIX DATA_DIR
set -eu
build=$1 prefix=$2 datadir=$3
here=$(dirname "$0")
. "$here/checks.sh"

dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$dest/pkg" >"$dest/cpack.log" 2>&1 ||
    { cat "$dest/cpack.log" >&2; fail "cpack could not build the package"; }
set -- "$dest"/pkg/quorvane_*.deb
[ $# = 1 ] && [ -f "$1" ] || fail "expected one quorvane_*.deb, got: $*"
deb=$1

[ "$(dpkg-deb -f "$deb" Package)" = quorvane ] || fail "the package is not named quorvane"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libsdl2-2.0-0 libpng16-16 libfreetype6 libfontconfig1 libx11-6 fonts-liberation; do
    printf '%s\n' "$depends" | grep -qE "(^|, )$p( |,|\$)" || fail "the package does not depend on $p"
done
case $depends in
    *-dev*) fail "the package depends on a development package: $depends" ;;
esac

dpkg-deb -c "$deb" | awk '{ s = $6; for (i = 7; i <= NF; i++) s = s " " $i; print s }' | sed 's|^\./|/|' >"$dest/list"
for f in bin/quorvane share/xscreensaver/config/quorvane.xml share/man/man6/quorvane.6 \
         "libexec/xscreensaver/quorvane -> ../../bin/quorvane"; do
    grep -qxF "$prefix/$f" "$dest/list" || fail "the package lacks $prefix/$f"
done
grep -qxF "${datadir}quorvane.htm" "$dest/list" || fail "the package lacks ${datadir}quorvane.htm"

dpkg-deb -x "$deb" "$dest/root"
check_tree "$dest/root$prefix" "$dest/root$datadir"
check_hack_xml "$dest/root$prefix/share/xscreensaver/config/quorvane.xml" "$dest/root$prefix/bin/quorvane"

echo "package: all checks passed"
