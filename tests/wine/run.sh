#!/bin/sh
# Runs a Windows program of the build under the session of session.sh:
#   run.sh DIR PROGRAM [ARGUMENTS...]
set -eu
dir=$1
shift
[ -f "$dir/env" ] || { echo "run.sh: no wine session in $dir (session.sh start)" >&2; exit 1; }
. "$dir/env"
exec wine "$@"
