# Shared by the benchmark scripts, sourced after `set -eu` and setting $here
# (the source tree):
#   build_target BUILD TARGET
#                        configures BUILD (Release) when it has no cache yet,
#                        then builds TARGET there
#   saver_program BUILD  sets $exe: $QV_EXE when set (a program built
#                        elsewhere), else quorvane built in BUILD
#   saver_screen WxH     start_xvfb, and an empty settings folder $config; both
#                        go when the script ends
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

build_target() {
    [ -f "$1/CMakeCache.txt" ] || cmake -S "$here" -B "$1" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$1" --target "$2" -j 2 >/dev/null
}

saver_program() {
    if [ -n "${QV_EXE:-}" ]; then
        exe="$QV_EXE"
    else
        build_target "$1" quorvane
        exe="$1/quorvane"
    fi
}

saver_screen() {
    start_xvfb "$1"
    config=$(mktemp -d)
    trap 'kill $xvfb 2>/dev/null; rm -rf "$config"' EXIT
}
