#!/usr/bin/env bash
# Runs the whole suite through CTest under Wine, in a throwaway prefix and a private display,
# under a Chinese locale so that Wine's ANSI code page is 936 (GBK).
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh

scratch=$(mktemp -d /tmp/kelvane-test.XXXXXX) || { echo "$0: cannot make a temporary folder" >&2; exit 1; }
export WINEPREFIX="$scratch/prefix"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

cleanup() {
  WINEPREFIX="$scratch/prefix" "$WINESERVER" -k >/dev/null 2>&1
  # The prefixes of the runs at other display scales, should a run have stopped half-way.
  for prefix in "${KELVANE_BUILD_DIR:-build}"/tests/wine-prefix-*; do
    [ -d "$prefix" ] && WINEPREFIX=$(realpath "$prefix") "$WINESERVER" -k >/dev/null 2>&1 && rm -rf "$prefix"
  done
  stop_private_display
  rm -rf "$scratch"
}
trap cleanup EXIT

start_private_display || exit 1
echo "test: preparing a throwaway Wine prefix"
prepare_prefix
# One program holds the desktop open for the whole run, detached from every pipe.
keeper="${KELVANE_BUILD_DIR:-build}/tests/kelvane_desktop_keeper.exe"
[ -f "$keeper" ] && "$WINE64" "$keeper" </dev/null >/dev/null 2>&1 &

ctest --test-dir "${KELVANE_BUILD_DIR:-build}" --output-on-failure --no-tests=error -j2 "$@"
status=$?
exit $status
