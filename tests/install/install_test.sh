#!/bin/sh
# Installs the build into a temporary DESTDIR and checks what a user's system
# gets: the program, the xscreensaver hack and its settings description, the
# manual page and the help page where the program will look for it.
#
# usage: install_test.sh BUILD_DIR PREFIX DATA_DIR SOURCE_DIR
set -eu
build=$1 prefix=$2 datadir=$3 src=$4
here=$(dirname "$0")
. "$here/checks.sh"

dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR=$dest cmake --install "$build" >/dev/null
root=$dest$prefix

check_tree "$root" "$dest$datadir"
check_hack_xml "$root/share/xscreensaver/config/quorvane.xml" "$root/bin/quorvane"

# The help page: the folder compiled into the program is the one the page was
# installed to, and the page documents every setting with its default.
grep -qaF "$datadir" "$root/bin/quorvane" || fail "the program does not name $datadir"
check_help_page "$dest${datadir}quorvane.htm" "$src/src/engine/SettingsKeys.h"

# Every option the program lists in its usage text is in the manual page.
check_man_page "$root/share/man/man6/quorvane.6.gz" "$root/bin/quorvane"

# The configuration program's menu entry comes with the program, not alone.
desktop=$root/share/applications/quorvane-config.desktop
if [ -e "$root/bin/quorvane-config" ]; then
    [ -f "$desktop" ] || fail "quorvane-config is installed without its menu entry"
    grep -qx 'Exec=quorvane-config' "$desktop" || fail "the menu entry does not start quorvane-config"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ -f "$root/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the menu entry's icon $icon is not installed"
else
    [ ! -e "$desktop" ] || fail "a menu entry for a configuration program that is not installed"
fi

echo "install tree: all checks passed"
