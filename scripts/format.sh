#!/bin/sh
# Checks that every tracked C++ file under src/, tests/, bench/ and fuzz/ is
# laid out as .clang-format says; lists the ones that are not and exits 1.
#
#   sh scripts/format.sh          check (exit 0: all formatted)
#   sh scripts/format.sh --fix    format them in place
#
# CLANG_FORMAT names another binary (default clang-format). The layout is
# the one clang-format 14 gives; other versions may disagree on details.
set -eu
cd "$(dirname "$0")/.."
cf=${CLANG_FORMAT:-clang-format}
if ! command -v "$cf" >/dev/null 2>&1; then
    echo "format.sh: $cf not found; install Debian's package: apt-get install clang-format" >&2
    exit 2
fi
case "$("$cf" --version)" in
    *" version 14."*) ;;
    *) echo "format.sh: warning: $("$cf" --version); the layout is checked with version 14" >&2 ;;
esac
files=$(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
    'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h') ||
    { echo "format.sh: needs a git checkout (it checks the tracked files)" >&2; exit 2; }

case "${1-}" in
    --fix)
        for f in $files; do "$cf" -i "$f"; done
        exit 0 ;;
    "") ;;
    *)
        echo "usage: sh scripts/format.sh [--fix]" >&2
        exit 2 ;;
esac

bad=0
for f in $files; do
    if ! "$cf" --dry-run --Werror "$f" >/dev/null 2>&1; then
        [ "$bad" -eq 0 ] && echo "Not formatted:"
        echo "  $f"
        bad=$((bad + 1))
    fi
done
if [ "$bad" -gt 0 ]; then
    echo "$bad file(s) not formatted; to fix them: sh scripts/format.sh --fix"
    exit 1
fi
echo "All $(echo "$files" | wc -l) files formatted."
