# Shared by the CPU benchmarks, sourced after `set -eu`:
#   ticks PID            clock ticks of user and system time of a process so far
#   start_xvfb WxH       starts Xvfb on a free display from :97 up and sets
#                        $display and $xvfb (its pid); exits when none starts
hz=$(getconf CLK_TCK)
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

start_xvfb() {
    display=""
    for n in $(seq 97 140); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${1}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
        xvfb=$!
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
        if kill -0 "$xvfb" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; return; fi
    done
    echo "could not start Xvfb" >&2
    exit 1
}
