#!/bin/sh
# Key press to the end of the process with the image style in a window
# (`quorvane --window --style Bitmap`, pictures in order) while the world
# around it does not answer: the settings file's lock held by another
# process (`flock registry.ini.lock sleep 600`), and a picture that became a
# FIFO after the folder was listed. PRESSES runs of each, a key at a random moment 1 to 4 s after the
# window appears; prints the median and the maximum of each.
#
#   bench/key_exit_busy.sh [BUILD_DIR] [PRESSES]
set -eu
build="${1:-build/release}"
presses="${2:-10}"
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/bench/common.sh"
saver_program "$build"
saver_screen 640x480
pictures="$config/pictures"
mkdir -p "$pictures"
convert -size 64x48 gradient:red-blue "$pictures/a.jpg"
convert -size 64x48 gradient:green-blue "$pictures/c.bmp"

# case NAME: sets up the settings and the pictures of the case.
measure() {
    name="$1"
    : >"$config/times.txt"
    i=0
    while [ "$i" -lt "$presses" ]; do
        i=$((i + 1))
        printf '[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\nImageOrder=1\nImagePause=1\n' \
            >"$config/registry.ini"
        printf '[Quorvane]\nFolders=%s*\n' "$pictures" >"$config/Quorvane5.ini"
        rm -f "$pictures/b.jpg"
        holder=""
        if [ "$name" = lock ]; then
            # The lock's holder is the process ended below, not a child of it.
            (
                exec 9>"$config/registry.ini.lock"
                flock 9
                exec sleep 600
            ) &
            holder=$!
            for _ in $(seq 50); do
                flock -n "$config/registry.ini.lock" true || break
                sleep 0.1
            done
        else
            cp "$pictures/a.jpg" "$pictures/b.jpg"
        fi
        DISPLAY="$display" QUORVANE_CONFIG_DIR="$config" "$exe" --window 320x240 --style Bitmap &
        pid=$!
        window=""
        for _ in $(seq 100); do
            window=$(DISPLAY="$display" xdotool search --onlyvisible --name '^Quorvane$' 2>/dev/null | head -n 1) || true
            [ -n "$window" ] && break
            sleep 0.1
        done
        DISPLAY="$display" xdotool windowfocus --sync "$window"
        if [ "$name" = fifo ]; then
            # Once the folder is listed, the second picture becomes a FIFO.
            sleep 0.5
            mkfifo "$pictures/fifo"
            mv -f "$pictures/fifo" "$pictures/b.jpg"
        fi
        sleep "$(awk -v i="$i" 'BEGIN { srand(i); printf "%.2f", 1 + 3 * rand() }')"
        t0=$(date +%s%N)
        DISPLAY="$display" xdotool key a
        status=0
        # Not for ever: a saver that hangs is ended after 40 s and counted so.
        (sleep 40 && kill -9 "$pid" 2>/dev/null) &
        watchdog=$!
        wait "$pid" || status=$?
        t1=$(date +%s%N)
        kill "$watchdog" 2>/dev/null || true
        if [ -n "$holder" ]; then
            kill "$holder" 2>/dev/null || true
            wait "$holder" 2>/dev/null || true
        fi
        echo "$(((t1 - t0) / 1000000)) $status" >>"$config/times.txt"
    done
    sort -n "$config/times.txt" | awk -v what="$name" '
        { ms[NR] = $1; if ($2 != 0) bad++ }
        END {
            median = NR % 2 ? ms[(NR + 1) / 2] : (ms[NR / 2] + ms[NR / 2 + 1]) / 2
            printf "%-5s key press to exit over %d presses: median %d ms, maximum %d ms", what, NR, median, ms[NR]
            if (bad) printf " (%d ended with a non-zero status or were killed)", bad
            printf "\n" }'
}

measure lock
measure fifo
