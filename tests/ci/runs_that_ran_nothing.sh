#!/usr/bin/env bash
# A test program's run that ran nothing fails, saying so (tests/support/TestRun.h), under the
# runner CTest uses: runs_that_ran_nothing.sh ui_window_tests.exe
# The high-contrast tests skip without a palette, before any window is made.
set -uo pipefail
program=$1
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
. "$source_dir/tests/support/script_checks.sh" "runs that ran nothing"
. "$source_dir/scripts/wine-env.sh"
unset KELVANE_TEST_RECORDS KELVANE_PALETTE KELVANE_RUN_MADE_FOR
output=$(mktemp) || fail "cannot make a temporary file"
cleanup() { rm -f "$output"; }

expect() {  # STATUS TEXT ENVIRONMENT... -- ARGUMENTS...
  local status=$1 text=$2 environment=()
  shift 2
  while [ "$1" != -- ]; do environment+=("$1"); shift; done
  shift
  env "${environment[@]}" "$source_dir/tests/support/run_under_wine.sh" "$WINE64" "$program" "$@" >"$output" 2>&1
  local got=$?
  [ "$got" -eq "$status" ] && grep -qF -- "$text" "$output" ||
    fail "$* ${environment[*]}: exit code $got, expected $status saying \"$text\":$(sed 's/^/\n    /' "$output")"
}
expect 1 'the filter "NoSuchSuite.*" matches none of the' -- --gtest_filter='NoSuchSuite.*'
expect 1 "2 of the 2 tests of the run made for them (InHighContrastBlack) skipped" \
  KELVANE_RUN_MADE_FOR=InHighContrastBlack -- --gtest_filter='HighContrast.*'
expect 1 'all 2 tests it selected (filter "HighContrast.*") skipped' -- --gtest_filter='HighContrast.*'
# One test that skips is CTest's to report as skipped; one that runs passes.
expect 0 "[  SKIPPED ] HighContrast.SwitchedOffTheDesignsOwnColoursComeBack" -- \
  --gtest_filter='HighContrast.SwitchedOffTheDesignsOwnColoursComeBack'
expect 0 "[  PASSED  ] 1 test." -- --gtest_filter='Form1HitTest.Shape5AnswersExactlyOnTheStripNoLabelOrIconCovers'
echo "runs that ran nothing: each failed, saying why"
checks_reached_end
