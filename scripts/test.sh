#!/usr/bin/env bash
# Runs the whole suite through CTest under Wine, in throwaway prefixes and a private display,
# under a Chinese locale so that Wine's ANSI code page is 936 (GBK). Arguments go to ctest.
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
use_throwaway_wine_env
build=${KELVANE_BUILD_DIR:-build}

scratch=$(mktemp -d /tmp/kelvane-test.XXXXXX) || { echo "$0: cannot make a temporary folder" >&2; exit 1; }
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
# Whatever the tests make for themselves goes under the run's own folder, so that what a test
# killed on its time limit could not remove is removed with it; the standard error of a Wine call
# that failed is kept in the build.
export TMPDIR="$scratch/tmp"
mkdir "$TMPDIR" || exit 1
export KELVANE_WINE_LOGS="$(realpath "$build")/tests/wine-logs"
# One prefix is booted; the suite's prefix and every prefix a test makes are copies of it.
export KELVANE_PREFIX_TEMPLATE="$scratch/booted"
export WINEPREFIX="$scratch/prefix"
# Where each test program notes which of its tests ran and which skipped (support/TestRun.h).
records="$scratch/records"
mkdir "$records" || exit 1
export KELVANE_TEST_RECORDS="Z:${records//\//\\}"

cleanup() {
  local prefix
  # Every prefix of the run, the prefix runs' ones among them, whatever state they are in.
  while read -r prefix; do
    WINEPREFIX=$(dirname "$prefix") prefix_remove
  done < <(find "$scratch" "$build"/tests -maxdepth 4 -name dosdevices -type d 2>/dev/null)
  # And whatever runs in a prefix not made yet when its test was stopped on its time limit.
  wine_end_processes_in "$scratch"
  stop_private_display
  rm -rf "$scratch"
}
trap cleanup EXIT

start_private_display || exit 1
# Every prefix of the run holds its desktop open for as long as it lives (scripts/wine-env.sh).
export KELVANE_DESKTOP_KEEPER=$(realpath "$build/tests/kelvane_desktop_keeper.exe")
echo "test: booting a throwaway Wine prefix"
WINEPREFIX=$KELVANE_PREFIX_TEMPLATE prefix_make_template && prefix_make ||
  { echo "test: the Wine prefix was not made" >&2; exit 1; }

ctest --test-dir "$build" --output-on-failure --no-tests=error -j2 "$@"
status=$?

# A test that skipped in one run must have run in another: the palette's prefix, the ordinary run
# for a test bound to code page 936. Only the whole suite can show it.
if [ $# -eq 0 ]; then
  unshown=$(cat "$records"/*.txt 2>/dev/null | awk '
    $2 == "ran" { ran[$3] = 1 }
    $2 == "skipped" { skipped[$3] = skipped[$3] " " $1 }
    END { for (test in skipped) if (!(test in ran)) print "    " test " (skipped in:" skipped[test] ")" }')
  skipped=$(cat "$records"/*.txt 2>/dev/null | awk '$2 == "skipped" { print $3 }' | sort -u | wc -l)
  if ! ls "$records"/*.txt >/dev/null 2>&1; then
    echo "test: no test program noted what it ran" >&2
    status=1
  elif [ -n "$unshown" ]; then
    echo "test: these tests skipped and ran in no other run:" >&2
    echo "$unshown" >&2
    status=1
  else
    echo "test: each of the $skipped tests that skipped in a run ran in another"
  fi
fi
exit $status
