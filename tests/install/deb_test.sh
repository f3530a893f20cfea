#!/bin/sh
# Builds the Debian package from the build tree, checks its control fields
# and its file list, and unpacks it into a temporary folder to check the
# tree it installs and run the program from it, without installing it on this
# machine: the tests run as root on shared machines, where a real install
# would change the system and hold dpkg's lock, and a test cut short between
# install and removal would leave the package behind.
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
for program in "$exe" "$dest/root$prefix/bin/quorvane-config"; do
    [ -e "$program" ] || continue
    libs=$(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }')
    [ -n "$libs" ] || fail "cannot read the libraries of $program"
    for lib in $libs; do
        owners=$(dpkg -S "*/$lib" 2>/dev/null | sed 's/[:,].*//' | sort -u) || fail "no package holds $lib"
        found=
        for o in $owners; do depends_on "$o" && found=$o; done
        [ -n "$found" ] || fail "$program needs $lib, but Depends names none of: $owners"
    done
done

dpkg-deb -c "$deb" | awk '{ s = $6; for (i = 7; i <= NF; i++) s = s " " $i; print s }' | sed 's|^\./|/|' >"$dest/list"
for f in bin/quorvane share/xscreensaver/config/quorvane.xml share/man/man6/quorvane.6.gz \
         share/doc/quorvane/copyright share/doc/quorvane/changelog.gz \
         "libexec/xscreensaver/quorvane -> ../../bin/quorvane"; do
    grep -qxF "$prefix/$f" "$dest/list" || fail "the package lacks $prefix/$f"
done
grep -qxF "${datadir}quorvane.htm" "$dest/list" || fail "the package lacks ${datadir}quorvane.htm"

check_tree "$dest/root$prefix" "$dest/root$datadir"
check_hack_xml "$dest/root$prefix/share/xscreensaver/config/quorvane.xml" "$dest/root$prefix/bin/quorvane"

# What `apt-get install ./quorvane_*.deb` does on a user's machine, short of
# changing this one: apt resolves the package's dependencies (simulated, so
# that nothing is installed and no lock is taken), and the unpacked program,
# using only the libraries installed here, renders a picture without a display.
apt-get -s -o Debug::NoLocking=1 install --reinstall "$deb" >"$dest/apt.log" 2>&1 &&
    grep -q '^Inst quorvane ' "$dest/apt.log" ||
    { cat "$dest/apt.log" >&2; fail "apt-get would not install the package"; }
! objdump -p "$exe" | grep -qE '^ *(RPATH|RUNPATH) ' || fail "$exe looks for libraries in the build tree"
env -u DISPLAY -u WAYLAND_DISPLAY QUORVANE_CONFIG_DIR="$dest/config" \
    "$exe" --render "$dest/still.png" --size 160x120 --seconds 2 --seed 7 ||
    fail "the packaged program could not render"
file "$dest/still.png" | grep -q 'PNG image data, 160 x 120' || fail "the packaged program wrote no 160x120 PNG"

# What Debian's package checker says: no error and no warning. Information
# tags are allowed only when named here, with the reason:
#   package-contains-documentation-outside-usr-share-doc: the help page lives
#     in the program's data folder, where the program itself opens it from.
#   hardening-no-fortify-functions: the tests' build is the sanitized one,
#     which checks string and memory functions its own way and is built
#     without _FORTIFY_SOURCE; the package's own build (make deb) has it.
#   spelling-error-in-binary: the settings program's text about the text
#     style's deliberate "speling erorrs" is misspelt on purpose.
allowed_info="package-contains-documentation-outside-usr-share-doc hardening-no-fortify-functions spelling-error-in-binary"
# A tree configured for another prefix (CMake's default is /usr/local) makes
# a package for that prefix, which Debian does not ship and lintian rightly
# refuses. These tags follow from the prefix alone; the copyright and the
# changelog they miss in /usr/share/doc were checked above under the prefix.
# `make test` and `make deb` build for /usr, where nothing is excused.
excused=
if [ "$prefix" != /usr ]; then
    excused="dir-in-usr-local file-in-usr-local file-in-unusual-dir no-copyright-file no-changelog"
    echo "package: built for $prefix, not /usr: lintian's tags about that place are excused" >&2
fi
if command -v lintian >/dev/null; then
    # lintian warns that it runs as root, as the tests do in CI; that line
    # is not about the package.
    lintian --display-info --tag-display-limit 0 "$deb" >"$dest/lintian.log" 2>&1 || true
    while read -r kind package tag rest; do
        case " $excused " in *" $tag "*) continue ;; esac
        case $kind in
            E: | W:) fail "lintian: $kind $package $tag $rest" ;;
            I:)
                case " $allowed_info " in
                    *" $tag "*) ;;
                    *) fail "lintian: $kind $package $tag $rest (not among the tags the test allows)" ;;
                esac
                ;;
        esac
    done <"$dest/lintian.log"
else
    echo "package: lintian is not installed (scripts/deps.sh installs it); not checked" >&2
fi

echo "package: all checks passed"
