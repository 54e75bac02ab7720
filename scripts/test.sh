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
# One prefix is booted; the suite's prefix and every prefix a test makes are copies of it.
export KELVANE_PREFIX_TEMPLATE="$scratch/booted"
export WINEPREFIX="$scratch/prefix"
# Where each test program notes which of its tests ran and which skipped (support/TestRun.h).
records="$scratch/records"
mkdir "$records" || exit 1
export KELVANE_TEST_RECORDS="Z:${records//\//\\}"

cleanup() {
  local prefix
  # The suite's prefix, and the prefixes of runs that stopped half-way, whatever state they are in.
  for prefix in "$WINEPREFIX" "$build"/tests/wine-prefix-*; do
    [ -d "$prefix" ] && WINEPREFIX=$(realpath "$prefix") prefix_remove
  done
  stop_private_display
  rm -rf "$scratch"
}
trap cleanup EXIT

start_private_display || exit 1
echo "test: booting a throwaway Wine prefix"
WINEPREFIX=$KELVANE_PREFIX_TEMPLATE prefix_make_template && prefix_make ||
  { echo "test: the Wine prefix was not made" >&2; exit 1; }

# One program holds the desktop open for the whole run, detached from every pipe; the tests start
# once it says it holds it.
"$WINE64" "$build/tests/kelvane_desktop_keeper.exe" </dev/null >"$scratch/keeper.out" 2>"$scratch/keeper.err" &
keeper=$!
for _ in $(seq 300); do
  grep -q "holding the desktop" "$scratch/keeper.out" && break
  if ! kill -0 "$keeper" 2>/dev/null; then
    wait "$keeper"
    echo "test: the desktop keeper ended with exit code $? before it held the desktop; it said:" >&2
    sed 's/^/    /' "$scratch/keeper.err" >&2
    exit 1
  fi
  sleep 0.1
done
grep -q "holding the desktop" "$scratch/keeper.out" ||
  { echo "test: the desktop keeper did not hold the desktop within 30 s" >&2; exit 1; }

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
