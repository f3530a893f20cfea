#!/bin/sh
# The Windows installer under Wine: a silent per-user install puts the files
# and the screensaver choice where they belong and keeps the user's time-out;
# installing twice and over an older version leaves one entry and the
# settings; the silent uninstall removes the program, brings back the
# screensaver chosen before and keeps the settings, unless asked to remove
# them; for all users the program goes into the system folder and the entry
# is machine-wide. The installer and the program carry the version.
#
# usage: windows_install_test.sh SCR VERSION WORK_DIR
#   SCR      the 64-bit quorvane.scr to install (the same bytes, checked, as
#            the program whose modes tests/app/win32 runs under Wine)
#   WORK_DIR a folder for the installers and a fresh Wine prefix
set -eu
scr=$1 version=$2 work=$3
src=$(cd "$(dirname "$0")/../.." && pwd)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64

# A display of its own for Wine, unless there is one.
if [ -z "${DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    xvfb=$!
    trap 'wineserver -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true' EXIT
    i=0
    while [ ! -s "$work/display" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$work/display")"
fi

wine_run() { wine "$@" </dev/null >/dev/null 2>&1; }
# Waits until every program of the prefix has ended (the uninstaller runs a copy of itself).
settle() { wineserver -w; }
reg_value() { # KEY NAME: the value's data, or nothing
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^  /, ""); print }'
}
reg_has_key() { wine reg query "$1" >/dev/null 2>&1; }

desktop='HKCU\Control Panel\Desktop'
config='HKCU\Software\Quorvane\Quorvane5\Config'
entry='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane'

wineboot -i >/dev/null 2>&1
settle
home=$(winepath -u 'C:\users' 2>/dev/null)/$(id -un)
appdata=$home/AppData/Roaming
installed=$home/AppData/Local/Programs/Quorvane
[ -d "$home" ] || fail "no Wine user folder at $home"

# The installers, this version and an older one.
docs=$work/docs
mkdir -p "$docs/gallery"
cp "$src/docs/quorvane.htm" "$docs/"
cp "$src/docs/gallery/design-2.png" "$docs/gallery/"
for v in "$version" 0.0.1; do
    makensis -V1 -DCOMPRESSOR=zlib -DVERSION="$v" -DSCR="$scr" -DDOCS="$docs" -DOUTFILE="$work/quorvane-$v-setup.exe" \
        "$src/packaging/windows/quorvane.nsi" >/dev/null || fail "makensis $v"
done
setup=$work/quorvane-$version-setup.exe

# The version resources.
strings -el "$setup" | grep -qx "$version" || fail "the installer does not carry version $version"
strings -el "$scr" | grep -q "^$version" || fail "the program does not carry version $version"

# The user's state before: another screensaver, a time-out, settings of their own.
wine reg add "$desktop" /v SCRNSAVE.EXE /d 'C:\windows\system32\other.scr' /f >/dev/null 2>&1
wine reg add "$desktop" /v ScreenSaveActive /d 0 /f >/dev/null 2>&1
wine reg add "$desktop" /v ScreenSaveTimeOut /d 420 /f >/dev/null 2>&1
wine reg add "$config" /v Speed /t REG_DWORD /d 7 /f >/dev/null 2>&1
mkdir -p "$appdata/Quorvane"
printf '[Quorvane]\r\nFolders=C:\\pictures*\r\n' >"$appdata/Quorvane/Quorvane5.ini"

# Over an older version, then twice: one entry, the newest version, the first previous saver.
for v in 0.0.1 "$version" "$version"; do
    wine_run "$work/quorvane-$v-setup.exe" /S || fail "silent install of $v"
    settle
done
for f in quorvane.scr quorvane.htm gallery/design-2.png uninstall.exe; do
    [ -f "$installed/$f" ] || fail "not installed: $f"
done
cmp -s "$scr" "$installed/quorvane.scr" || fail "the installed program is not the one built"
case $(reg_value "$desktop" SCRNSAVE.EXE) in
*[Qq][Uu][Oo][Rr][Vv][Aa][Nn][Ee].[Ss][Cc][Rr]) ;;
*) fail "not chosen as the screensaver: $(reg_value "$desktop" SCRNSAVE.EXE)" ;;
esac
[ "$(reg_value "$desktop" ScreenSaveActive)" = 1 ] || fail "ScreenSaveActive is not 1"
[ "$(reg_value "$desktop" ScreenSaveTimeOut)" = 420 ] || fail "the time-out changed"
[ "$(reg_value "$entry" DisplayVersion)" = "$version" ] || fail "the entry is not of version $version"
[ -n "$(reg_value "$entry" EstimatedSize)" ] || fail "the entry has no size"
[ "$(wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' 2>/dev/null | tr -d '\r' |
    grep -ci 'quorvane$')" = 1 ] || fail "not exactly one entry in Apps and Features"
[ "$(reg_value "$config" Speed)" = 0x7 ] || fail "the user's setting changed"
installFolder=$(reg_value "$config" InstallFolder)
[ -n "$installFolder" ] || fail "no InstallFolder for the help page"
[ -f "$(winepath -u "${installFolder}quorvane.htm" 2>/dev/null)" ] || fail "InstallFolder does not hold the help page"
[ -f "$appdata/Microsoft/Windows/Start Menu/Programs/Quorvane/Quorvane Settings.lnk" ] ||
    fail "no Start-menu entry for the settings"

# Uninstalled: files and entries gone, the other screensaver back, settings kept.
wine_run "$installed/uninstall.exe" /S
settle
[ -e "$installed" ] && fail "the program folder is left: $(ls -A "$installed")"
[ -e "$appdata/Microsoft/Windows/Start Menu/Programs/Quorvane" ] && fail "the Start-menu entry is left"
reg_has_key "$entry" && fail "the Apps and Features entry is left"
[ "$(reg_value "$desktop" SCRNSAVE.EXE)" = 'C:\windows\system32\other.scr' ] ||
    fail "the previous screensaver is not back: $(reg_value "$desktop" SCRNSAVE.EXE)"
[ "$(reg_value "$desktop" ScreenSaveActive)" = 0 ] || fail "ScreenSaveActive is not as it was"
[ "$(reg_value "$config" Speed)" = 0x7 ] || fail "the settings were not kept"
[ -z "$(reg_value "$config" InstallFolder)" ] || fail "InstallFolder names the removed folder"
[ -f "$appdata/Quorvane/Quorvane5.ini" ] || fail "the image folder list was not kept"

# With the option, the settings go too.
wine_run "$setup" /S
settle
wine_run "$installed/uninstall.exe" /S /RemoveSettings
settle
reg_has_key 'HKCU\Software\Quorvane' && fail "the settings were not removed"
[ -e "$appdata/Quorvane/Quorvane5.ini" ] && fail "the image folder list was not removed"
[ "$(reg_value "$desktop" SCRNSAVE.EXE)" = 'C:\windows\system32\other.scr' ] ||
    fail "the previous screensaver is not back after the second install"
# For all users (Wine's user is an administrator): the program in the system
# folder, where the Screen Saver dialog lists it, and the entry machine-wide.
system=$(winepath -u 'C:\windows\system32' 2>/dev/null)
machineEntry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane'
wine_run "$setup" /S /AllUsers || fail "silent install for all users"
settle
[ -f "$system/quorvane.scr" ] || fail "not in the system folder for all users"
[ "$(reg_value "$machineEntry" DisplayVersion)" = "$version" ] || fail "no machine-wide entry"
allUsers=$(winepath -u "$(reg_value "$machineEntry" InstallLocation)" 2>/dev/null)
wine_run "$allUsers/uninstall.exe" /S /AllUsers
settle
[ -e "$system/quorvane.scr" ] && fail "the program is left in the system folder"
reg_has_key "$machineEntry" && fail "the machine-wide entry is left"
echo "windows installer: ok"
