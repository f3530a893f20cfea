#!/usr/bin/env bash
# Mutation testing: makes each change of scripts/mutations.txt to src/, one at
# a time, rebuilds the test executable of the changed file's folder and runs
# it. A mutant the tests fail on (or crash or time out on) is killed; one they
# pass has survived, and points at behaviour no test looks at.
#
#   scripts/mutate.sh [-n] BUILD [MUTATIONS]
#
# BUILD is a configured Ninja build (Debug, no sanitizers). With -n nothing is
# built: it only says which mutations still apply to the sources. Each test
# run is stopped after MUTATE_TIMEOUT seconds (default 240). A full run takes
# about half an hour on one core, so this is not part of `make test`.
set -u

# The test executable of a floor (the first folder below src/) is
# test_<floor>; the exceptions, as FLOOR:EXECUTABLE, e.g. "scene:test_engine"
# for a floor whose tests still live with another's.
OVERRIDES=""
# Executables never run: test_gui needs an X display.
SKIP="test_gui"
# Test cases left out of every run, as a gtest pattern ("Suite.*:Other.Case").
# None so far: the slowest executable (test_styles) passes in about 30 s.
EXCLUDE=""
TIMEOUT=${MUTATE_TIMEOUT:-240}

usage() { echo "usage: $0 [-n] BUILD [MUTATIONS]" >&2; exit 2; }
check_only=0
if [ "${1:-}" = -n ]; then check_only=1; shift; fi
[ $# -ge 1 ] && [ -f "$1/build.ninja" ] || usage
BUILD=$(cd "$1" && pwd)
MUTATIONS=$(realpath "${2:-$(dirname "$0")/mutations.txt}") || usage
cd "$(dirname "$0")/.." || exit 2
RESULTS=$BUILD/mutation-results.txt

# The test executables the build knows, less the skipped ones.
TARGETS=""
for t in $(ninja -C "$BUILD" -t targets all | sed -n 's|^tests/\(test_[A-Za-z0-9_]*\):.*|\1|p'); do
    case " $SKIP " in *" $t "*) ;; *) TARGETS="$TARGETS $t" ;; esac
done

# The test executable of a source file's floor, by name; the build may not
# have it.
test_of() {
    local rest=${1#src/} o
    local floor=${rest%%/*}
    local exe=test_$floor
    for o in $OVERRIDES; do [ "${o%%:*}" = "$floor" ] && exe=${o#*:}; done
    echo "$exe"
}
# The test executables to run for a source file: its floor's, or all of them
# when the build has none for it.
tests_for() {
    local exe
    exe=$(test_of "$1")
    case "$TARGETS " in *" $exe "*) echo "$exe" ;; *) echo $TARGETS ;; esac
}

# How often the literal text $1 occurs in file $2, and file $3 with its one
# occurrence of $1 replaced by $2. The texts go through the environment,
# where awk reads no escape sequences.
count() {
    FIND=$1 awk 'BEGIN { f = ENVIRON["FIND"] }
        { s = $0; while ((i = index(s, f)) > 0) { n++; s = substr(s, i + length(f)) } }
        END { print n + 0 }' "$2"
}
replace() {
    FIND=$1 REPL=$2 awk 'BEGIN { f = ENVIRON["FIND"]; r = ENVIRON["REPL"] }
        (i = index($0, f)) > 0 { $0 = substr($0, 1, i - 1) r substr($0, i + length(f)) }
        { print }' "$3"
}

# Sets `path` to the one file named $1 under src/ that holds $2, exactly once;
# otherwise clears it and says why in `why`.
locate() {
    local f n total=0 files
    path= why=
    files=$(find src -name "$1" -type f)
    [ -n "$files" ] || { why="no $1 under src/"; return; }
    for f in $files; do
        n=$(count "$2" "$f")
        [ "$n" -gt 0 ] && path=$f
        total=$((total + n))
    done
    [ "$total" -eq 1 ] && return
    path=
    why="text found $total times in $1"
}

current="" child=""
backup=$(mktemp) log=$(mktemp)
restore() { if [ -n "$current" ]; then cat "$backup" >"$current"; current=""; fi; }
trap 'restore; rm -f "$backup" "$log"' EXIT
trap 'was=$current; [ -n "$child" ] && kill "$child" 2>/dev/null; restore
      echo "interrupted${was:+; $was restored}" >&2; exit 130' INT TERM

# Runs test executable $1 with the gtest flags that follow and sets `verdict`
# to passed, failed, crashed (signal N) or timed out. In the background, so
# that an interrupt stops it at once.
declare -A FILTER
run_tests() {
    local exe=$1 rc
    shift
    local filter=${FILTER[$exe]:-$EXCLUDE}
    (cd "$BUILD/tests" && exec env QV_TEST_EXE="$BUILD/quorvane" timeout -k 10 "$TIMEOUT" \
        "./$exe" --gtest_brief=1 ${filter:+"--gtest_filter=-$filter"} "$@") </dev/null >"$log" 2>&1 &
    child=$!
    wait "$child"
    rc=$?
    child=""
    case $rc in
        0) verdict=passed ;;
        1) verdict=failed ;;
        124 | 137) verdict="timed out" ;;
        *) if [ "$rc" -gt 128 ]; then verdict="crashed (signal $((rc - 128)))"; else verdict="failed ($rc)"; fi ;;
    esac
}

build() { ninja -C "$BUILD" -j1 "$@" </dev/null >"$log" 2>&1; }
now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }

# The mutations: file, text and replacement, "\|" standing for "|".
files=() texts=() repls=()
while IFS= read -r line; do
    case $line in '' | '#'*) continue ;; esac
    line=${line//\\|/$'\001'}
    IFS='|' read -r f t r <<<"$line"
    [ -n "$t" ] || { echo "$MUTATIONS: no text in: $line" >&2; exit 2; }
    files+=("$f") texts+=("${t//$'\001'/|}") repls+=("${r//$'\001'/|}")
done <"$MUTATIONS"
total=${#files[@]}

if [ $check_only = 1 ]; then
    applies=0
    for i in "${!files[@]}"; do
        locate "${files[i]}" "${texts[i]}"
        if [ -n "$path" ]; then applies=$((applies + 1)); else echo "not applied: ${files[i]}: $why"; fi
    done
    echo "mutations: $total, apply: $applies, not applied: $((total - applies))"
    exit 0
fi

# The unchanged sources must pass first. A test that already fails is left
# out of the runs, lest it count as a kill.
started=$(now_ms)
needed=""
for i in "${!files[@]}"; do
    locate "${files[i]}" "${texts[i]}"
    [ -n "$path" ] && needed="$needed $(tests_for "$path")"
done
needed=$(echo $needed | tr ' ' '\n' | sort -u)
[ -n "$needed" ] || { echo "no mutation applies" >&2; exit 1; }
for exe in $needed; do
    build "$exe" || { cat "$log" >&2; echo "the unchanged sources do not build" >&2; exit 1; }
    t0=$(now_ms)
    run_tests "$exe"
    ms=$(($(now_ms) - t0))
    if [ "$verdict" != passed ]; then
        failing=$(sed -n 's/^\[  FAILED  \] \([^ ]*\.[^ ]*\).*/\1/p' "$log" | sort -u | paste -sd:)
        first=$verdict
        [ -n "$failing" ] && FILTER[$exe]=${EXCLUDE:+$EXCLUDE:}$failing && run_tests "$exe"
        if [ "$verdict" != passed ]; then
            cat "$log" >&2
            echo "$exe $first on the unchanged sources" >&2
            exit 1
        fi
        echo "baseline $exe: $first; left out from now on: $failing"
    fi
    printf 'baseline %s: %d.%d s\n' "$exe" $((ms / 1000)) $((ms % 1000 / 100))
done

: >"$RESULTS"
declare -A floor_total floor_killed warned
killed=0 survived=0 missing=0 broken=0
for i in "${!files[@]}"; do
    text=${texts[i]} repl=${repls[i]} detail=""
    locate "${files[i]}" "$text"
    if [ -z "$path" ]; then
        status="not applied" shown="${files[i]} ($why)"
        missing=$((missing + 1))
    else
        shown=$path rest=${path#src/}
        floor=${rest%%/*}
        exes=$(tests_for "$path")
        if [ "$exes" != "$(test_of "$path")" ] && [ -z "${warned[$floor]:-}" ]; then
            echo "src/$floor: the build has no $(test_of "$path"); its mutants run every test executable"
            warned[$floor]=1
        fi
        cp "$path" "$backup"
        current=$path
        replace "$text" "$repl" "$backup" >"$path"
        if ! build $exes; then
            status="did not compile"
            broken=$((broken + 1))
            detail=$(grep -m1 'error:' "$log")
        else
            status=survived
            for exe in $exes; do
                run_tests "$exe" --gtest_fail_fast
                [ "$verdict" = passed ] && continue
                status="killed ($exe $verdict)"
                break
            done
        fi
        restore
        case $status in
            killed*) killed=$((killed + 1)) floor_killed[$floor]=$((${floor_killed[$floor]:-0} + 1)) ;;
            survived) survived=$((survived + 1)) ;;
        esac
        [ "$status" = "did not compile" ] || floor_total[$floor]=$((${floor_total[$floor]:-0} + 1))
    fi
    printf '[%d/%d] %s: %s: %s -> %s\n' $((i + 1)) "$total" "$status" "$shown" "$text" "$repl"
    [ -z "$detail" ] || echo "    $detail"
    printf '%s\t%s\t%s\t%s\n' "${status%% (*}" "$shown" "$text" "$repl" >>"$RESULTS"
done

# The last mutant's objects are still in the build: bring it back in step.
build $needed || echo "rebuilding the unchanged sources failed; see ninja -C $BUILD" >&2

for floor in $(printf '%s\n' "${!floor_total[@]}" | sort); do
    echo "  $floor: ${floor_killed[$floor]:-0} of ${floor_total[$floor]} killed"
done
s=$((($(now_ms) - started) / 1000))
echo "took $((s / 60)) min $((s % 60)) s; results in $RESULTS"
echo "mutants: $total, killed: $killed, survived: $survived, not applied: $missing, did not compile: $broken"
