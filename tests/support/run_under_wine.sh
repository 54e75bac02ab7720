#!/usr/bin/env bash
# Runs one test program under Wine for CTest: run_under_wine.sh WINE PROGRAM [ARGUMENTS...]
#
# Now and then Wine ends a process before the program in it has started: a non-zero exit within
# milliseconds and not one line written, where a test program always writes GoogleTest's header
# first. That says nothing about the program under test, so such a start is reported and made
# once more, a second later, when whatever stood in Wine's way has had time to pass; any other
# outcome, a failing test included, is passed on as it is.
set -uo pipefail
wine=$1
shift
output=$(mktemp /tmp/kelvane-test-output.XXXXXX) || { echo "$0: cannot make a temporary file" >&2; exit 1; }
trap 'rm -f "$output"' EXIT

started=$(date +%s%N)
"$wine" "$@" | tee "$output"
status=${PIPESTATUS[0]}
if [ "$status" -ne 0 ] && [ ! -s "$output" ]; then
  printf '%s: Wine ended with exit code %d after %d ms before the test program wrote anything; starting it once more\n' \
    "$(basename "$0")" "$status" $(( ($(date +%s%N) - started) / 1000000 )) >&2
  sleep 1
  "$wine" "$@"
  status=$?
fi
exit "$status"
