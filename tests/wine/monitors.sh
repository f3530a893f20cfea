#!/bin/sh
# Full screen over two monitors of different sizes, the second left of the
# primary (so that on Windows it starts at a negative x): the Linux program
# and the Windows program under Wine each cover the whole virtual screen
# with one window, draw on it, and end when the mouse moves.
#
#   monitors.sh LINUX_PROGRAM WINDOWS_PROGRAM DIR
#
# Xvfb gives every screen of Xinerama the origin 0,0, so the two monitors are
# two outputs of one screen of the X server's dummy driver, placed by RandR
# (Wine reads monitors from RandR). Without that server the test is skipped
# (exit 77), saying why.
set -eu
linux=$1
windows=$2
dir=$(realpath -m "$3")
xorg=/usr/lib/xorg/Xorg
skip() {
    echo "monitors: skipped: $*"
    exit 77
}
[ -x "$xorg" ] && [ -f /usr/lib/xorg/modules/drivers/dummy_drv.so ] ||
    skip "no X server with the dummy driver (xserver-xorg-core, xserver-xorg-video-dummy)"
command -v xrandr >/dev/null || skip "no xrandr (x11-xserver-utils)"

rm -rf "$dir"
mkdir -p "$dir/settings" "$dir/prefix"
server=""
cleanup() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
    [ -n "$server" ] && kill "$server" 2>/dev/null || true
    rm -rf "$dir/prefix"
}
trap cleanup EXIT

# One screen large enough for both outputs; no input devices but the
# server's own, which xdotool drives.
cat >"$dir/xorg.conf" <<'EOF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam 64000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 1440 600
  EndSubSection
EndSection
EOF
"$xorg" -config "$dir/xorg.conf" -logfile "$dir/xorg.log" -displayfd 3 -noreset -nolisten tcp -novtswitch \
    -sharevts -br 3>"$dir/display" >"$dir/xorg.out" 2>&1 &
server=$!
i=0
while [ ! -s "$dir/display" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
[ -s "$dir/display" ] || skip "the X server did not start (see $dir/xorg.log)"
export DISPLAY=":$(cat "$dir/display")"

# The primary monitor 800x600 at 640,0; the second, 640x480, at 0,0.
{
    xrandr --newmode second 25.2 640 656 752 800 480 490 492 525 &&
        xrandr --addmode DUMMY1 second &&
        xrandr --newmode primary 40.0 800 840 968 1056 600 601 605 628 &&
        xrandr --addmode DUMMY0 primary &&
        xrandr --fb 1440x600 --output DUMMY0 --mode primary --pos 640x0 --primary \
            --output DUMMY1 --mode second --pos 0x0
} >"$dir/xrandr.log" 2>&1 || skip "RandR could not place two monitors (see $dir/xrandr.log)"
[ "$(xrandr --listmonitors | sed -n 's/^Monitors: //p')" = 2 ] || skip "RandR did not make two monitors"

# run NAME COMMAND...: the program full screen until the mouse moves.
failed=0
run() {
    name=$1
    shift
    QUORVANE_CONFIG_DIR="$dir/settings" "$@" /s >"$dir/$name.log" 2>&1 &
    pid=$!
    # Its window, when it has one, covers both monitors exactly.
    covered=no
    for _ in $(seq 600); do
        if xwininfo -root -children | grep -q ' 1440x600+0+0 '; then
            covered=yes
            break
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    # Then something is drawn on each monitor.
    drawn=no
    for _ in $(seq 100); do
        if [ "$covered" = yes ] && xwd -root -silent >"$dir/$name.xwd" &&
            [ "$(convert "$dir/$name.xwd" -crop 640x480+0+0 -format %k info:)" -gt 1 ] &&
            [ "$(convert "$dir/$name.xwd" -crop 800x600+640+0 -format %k info:)" -gt 1 ]; then
            drawn=yes
            break
        fi
        sleep 0.3
    done
    # A movement of the mouse: with no window manager to give it, Wine's
    # window has no keyboard focus (the modes test sends keys on Windows).
    sleep 1
    xdotool mousemove_relative 100 100
    ended=no
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || {
            ended=yes
            break
        }
        sleep 0.1
    done
    echo "$name: window over both monitors $covered, drawn on each $drawn, ended on a movement $ended"
    if [ "$covered$drawn$ended" != yesyesyes ]; then
        failed=1
        kill "$pid" 2>/dev/null || true
        cat "$dir/$name.log"
    fi
    wait "$pid" 2>/dev/null || true
}

run linux "$linux"

# A prefix of its own: Wine reads the monitors of the display it starts on.
export WINEPREFIX="$dir/prefix" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' WINEARCH=win64
wineboot -i </dev/null >"$dir/wineboot.log" 2>&1
run windows wine "$windows"
exit $failed
