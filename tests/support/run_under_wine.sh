#!/usr/bin/env bash
# Runs one test program under Wine for CTest: run_under_wine.sh WINE PROGRAM [ARGUMENTS...]
#
# The program's standard output passes as it is; what it and Wine write to standard error follows
# it. A run that fails is never started again: it prints the command, its exit status, how long
# it ran and the end of standard error, where Wine's own words on a start it could not make are.
set -uo pipefail
. "$(dirname "$0")/../../scripts/wine-env.sh"
log=$(mktemp "${TMPDIR:-/tmp}/kelvane-test-stderr.XXXXXX") || { echo "$0: cannot make a temporary file" >&2; exit 1; }

started=$(date +%s%N)
"$@" 2>"$log"
status=$?
if [ "$status" -eq 0 ]; then
  cat "$log" >&2
  rm -f "$log"
else
  wine_report "$log" "$status" "$started" "$@"
fi
exit "$status"
