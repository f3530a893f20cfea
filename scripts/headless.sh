# One headless run of the saver with the trace log on, measured; shared by
# the soak test, `make soak` and the throughput benchmark. Sourced after
# `set -eu`:
#
#   headless_run DIR EXE ARGS...
#       runs `EXE --render DIR/last.png ARGS...` with a settings folder of its
#       own (DIR/settings: default settings and the message "trace", which
#       switches the trace log on without emptying it at each new palette)
#       and its trace log in DIR/trace.txt. Standard error goes to
#       DIR/stderr, and DIR/time holds "wall user system peak-kB" (GNU time).
#       $HEADLESS_WRAP (e.g. "timeout 300") is put before EXE, $HEADLESS_IMAGES
#       names a folder of pictures for the image styles. HEADLESS_TRACE=0
#       leaves the message out and the trace log off: the settings are then
#       the defaults exactly (the message "trace" is drawn among the others,
#       so a seed draws differently with it), and no time goes on the log,
#       which opens and closes its file for every line. Returns the exit
#       status of the run (124 when the wrapper's timeout ended it, 128+N
#       after signal N).
#   trace_factories FILE
#       the lines of a trace log written by the factories, as
#       "Source : (typeid(...)) = Class", one a line.
#   trace_styles FILE
#       the styles made, one a line.

headless_run() {
    _dir="$1"
    _exe="$2"
    shift 2
    mkdir -p "$_dir/settings"
    printf '[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\n' >"$_dir/settings/registry.ini"
    [ "${HEADLESS_TRACE:-1}" = 0 ] || echo "Message3=trace" >>"$_dir/settings/registry.ini"
    if [ -n "${HEADLESS_IMAGES:-}" ]; then
        printf '[Quorvane]\nFolders=%s*\n' "$HEADLESS_IMAGES" >"$_dir/settings/Quorvane5.ini"
    fi
    rm -f "$_dir/trace.txt"
    _status=0
    # QUORTEMP would empty the trace file at every new palette; TEMP names
    # the folder without that.
    env -u QUORTEMP QUORVANE_CONFIG_DIR="$_dir/settings" TEMP="$_dir" \
        /usr/bin/time -o "$_dir/time.raw" -f '%e %U %S %M' \
        ${HEADLESS_WRAP:-} "$_exe" --render "$_dir/last.png" "$@" 2>"$_dir/stderr" || _status=$?
    # GNU time puts a line about how the command ended before the figures.
    tail -n 1 "$_dir/time.raw" >"$_dir/time"
    return "$_status"
}

trace_factories() {
    sed -n 's/\r$//; s/^ *-*[0-9]*: \([A-Za-z0-9_]*\) line [0-9]* : \((typeid.*)\) = /\1 : \2 = /p' "$1"
}

trace_styles() {
    trace_factories "$1" | sed -n 's/^Scenewnd : .* = //p'
}

# headless_summary DIR SECONDS LABEL: one line on the run in DIR of SECONDS
# simulated seconds: wall and CPU time, throughput, peak memory, and the
# styles it made (how many of each).
headless_summary() {
    read -r _wall _user _sys _peak <"$1/time"
    _styles=$(trace_styles "$1/trace.txt" 2>/dev/null | sort | uniq -c | sort -rn |
        awk 'NR == 1 { printf "; styles" } { printf " %s:%d", $2, $1 }')
    awk -v w="$_wall" -v u="$_user" -v s="$_sys" -v m="$_peak" -v sim="$2" -v l="$3" -v st="$_styles" \
        'BEGIN { printf "%s: %.1f s wall, %.1f s CPU, %.1f simulated s per wall s (%.1f per CPU s), peak %.1f MB%s\n",
                 l, w, u + s, (w > 0 ? sim / w : 0), (u + s > 0 ? sim / (u + s) : 0), m / 1024, st }'
}
