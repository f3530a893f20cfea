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
# Depends names the package of every library the program is linked with,
# and the fonts it asks for by name; nothing that only building needs.
depends=$(dpkg-deb -f "$deb" Depends)
depends_on() {
    printf '%s\n' "$depends" | tr ',' '\n' | awk '{ print $1 }' | grep -qxF "$1"
}
case $depends in
    *-dev*) fail "the package depends on a development package: $depends" ;;
esac
depends_on fonts-liberation || fail "the package does not depend on fonts-liberation"
dpkg-deb -x "$deb" "$dest/root"
exe=$dest/root$prefix/bin/quorvane
libs=$(objdump -p "$exe" | awk '$1 == "NEEDED" { print $2 }')
[ -n "$libs" ] || fail "cannot read the libraries of $exe"
for lib in $libs; do
    owners=$(dpkg -S "*/$lib" 2>/dev/null | sed 's/[:,].*//' | sort -u) || fail "no package holds $lib"
    found=
    for o in $owners; do depends_on "$o" && found=$o; done
    [ -n "$found" ] || fail "the program needs $lib, but Depends names none of: $owners"
done

dpkg-deb -c "$deb" | awk '{ s = $6; for (i = 7; i <= NF; i++) s = s " " $i; print s }' | sed 's|^\./|/|' >"$dest/list"
for f in bin/quorvane share/xscreensaver/config/quorvane.xml share/man/man6/quorvane.6 \
         "libexec/xscreensaver/quorvane -> ../../bin/quorvane"; do
    grep -qxF "$prefix/$f" "$dest/list" || fail "the package lacks $prefix/$f"
done
grep -qxF "${datadir}quorvane.htm" "$dest/list" || fail "the package lacks ${datadir}quorvane.htm"

check_tree "$dest/root$prefix" "$dest/root$datadir"
check_hack_xml "$dest/root$prefix/share/xscreensaver/config/quorvane.xml" "$dest/root$prefix/bin/quorvane"

echo "package: all checks passed"
