#!/bin/sh
# The Wine session the Windows tests share:
#
#   session.sh start DIR   a virtual X display, a fresh Wine prefix in DIR and
#                          one Wine server that stays until `stop`
#   session.sh stop DIR    ends them
#
# Wine's first start in a prefix takes tens of seconds; every later program
# of the session starts in a fraction of one. DIR/env holds what run.sh needs.
set -eu
action=$1
dir=$(realpath -m "$2")
case "$action" in
    start)
        [ -f "$dir/env" ] && sh "$0" stop "$dir" || true
        mkdir -p "$dir"
        rm -rf "$dir/prefix"
        mkdir -p "$dir/prefix"
        # The display: 1280 x 1024 and deep enough for true colour.
        rm -f "$dir/display"
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
        echo $! >"$dir/xvfb.pid"
        i=0
        while [ ! -s "$dir/display" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
        [ -s "$dir/display" ] || { echo "wine session: Xvfb did not start" >&2; exit 1; }
        {
            echo "export DISPLAY=:$(cat "$dir/display")"
            echo "export WINEPREFIX='$dir/prefix'"
            echo "export WINEDEBUG=-all"
            # No .NET or HTML engine to download: the tests need neither.
            echo "export WINEDLLOVERRIDES='mscoree,mshtml='"
            echo "export WINEARCH=win64"
        } >"$dir/env"
        . "$dir/env"
        # One server for the whole session, then the prefix made in it.
        wineserver -p
        wineboot -i >"$dir/wineboot.log" 2>&1
        echo "wine session on display $DISPLAY in $WINEPREFIX"
        ;;
    stop)
        if [ -f "$dir/env" ]; then
            . "$dir/env"
            wineserver -k 2>/dev/null || true
        fi
        if [ -f "$dir/xvfb.pid" ]; then
            kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
            rm -f "$dir/xvfb.pid"
        fi
        rm -f "$dir/env"
        ;;
    *)
        echo "usage: session.sh start|stop DIR" >&2
        exit 2
        ;;
esac
