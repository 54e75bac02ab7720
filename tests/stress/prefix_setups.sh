#!/usr/bin/env bash
# Stress for the Wine prefix set-up of make test (not part of it): N rounds, each from nothing (no
# prefix, Wine's and fontconfig's per-user caches removed), with every core kept busy by a loop of
# its own. A round boots one prefix as scripts/test.sh does, then makes the prefixes of the window
# test runs side by side from it (tests/ui/prefix_for_run.sh: 144 dpi, High Contrast Black and
# White) and runs each one's tests there, as CTest would; with --boot-each, each of those prefixes
# boots on its own instead, all at once. It counts the rounds that failed and keeps, for each
# failure, what the failing step printed.
#   tests/stress/prefix_setups.sh [--boot-each] [N]      (N defaults to 30; build first: make build)
set -uo pipefail
cd "$(dirname "$0")/../.."
. scripts/wine-env.sh
use_throwaway_wine_env
boot_each=
[ "${1:-}" = --boot-each ] && { boot_each=yes; shift; }
rounds=${1:-30}
build=$(realpath "${KELVANE_BUILD_DIR:-build}")
program="$build/tests/ui/ui_window_tests.exe"
[ -f "$program" ] || { echo "stress: $program is missing (make build)" >&2; exit 1; }
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export KELVANE_DESKTOP_KEEPER="$build/tests/kelvane_desktop_keeper.exe"

evidence=$(mktemp -d /tmp/kelvane-stress-evidence.XXXXXX) || exit 1
work=
busy=()
stop_everything() {
  local prefix
  [ ${#busy[@]} -gt 0 ] && kill "${busy[@]}" 2>/dev/null
  busy=()
  if [ -n "$work" ]; then
    for prefix in "$work"/*/; do WINEPREFIX=${prefix%/} prefix_remove; done
    rm -rf "$work"
  fi
  stop_private_display
}
trap stop_everything EXIT

# One prefix run: its set-up, then its tests, as CTest runs them (tests/ui/WindowTests.cmake): the
# set-ups side by side, the tests one run at a time, as the lock on the display keeps them there.
# Side by side on one display, a run's main window was now and then not activated within 5 s,
# which make test, holding the lock, never meets.
prefix_run() {  # LABEL FILTER ENVIRONMENT SETTING...
  local label=$1 filter=$2 environment=$3
  shift 3
  bash tests/ui/prefix_for_run.sh "$work/$label" "$program" "$@" || { echo "set-up failed"; return 1; }
  env WINEPREFIX="$work/$label" KELVANE_RUN_MADE_FOR="$label" $environment \
    flock --close "$work/display.lock" \
    tests/support/run_under_wine.sh "$WINE64" "$program" --gtest_filter="$filter" || { echo "run failed"; return 1; }
}

failed=0
started=$SECONDS
for round in $(seq "$rounds"); do
  work=$(mktemp -d /tmp/kelvane-stress.XXXXXX) || exit 1
  rm -rf "${XDG_CACHE_HOME:-$HOME/.cache}/wine" "${XDG_CACHE_HOME:-$HOME/.cache}/fontconfig"
  for _ in $(seq "$(nproc)"); do
    (while :; do :; done) &
    busy+=($!)
  done
  start_private_display || exit 1
  round_started=$SECONDS
  outcome=ok
  if [ -z "$boot_each" ]; then
    if ! WINEPREFIX="$work/booted" prefix_make_template >"$work/boot.log" 2>&1; then
      outcome=failed; cp "$work/boot.log" "$evidence/round-$round-boot.log"
    fi
    export KELVANE_PREFIX_TEMPLATE="$work/booted"
  else
    unset KELVANE_PREFIX_TEMPLATE
  fi
  if [ "$outcome" = ok ]; then
    pids=()
    prefix_run At144Dpi 'DisplayScale.*' KELVANE_EXPECTED_DPI=144 dpi=144 >"$work/At144Dpi.log" 2>&1 & pids+=($!)
    for palette in HighContrastBlack HighContrastWhite; do
      prefix_run "In$palette" 'HighContrast.*' "KELVANE_PALETTE=$palette" "palette=$palette" \
        >"$work/In$palette.log" 2>&1 & pids+=($!)
    done
    for pid in "${pids[@]}"; do wait "$pid" || outcome=failed; done
    for log in "$work"/At144Dpi.log "$work"/InHighContrast*.log; do
      [ "$(tail -n 1 "$log")" = "set-up failed" ] || [ "$(tail -n 1 "$log")" = "run failed" ] &&
        cp "$log" "$evidence/round-$round-$(basename "$log")"
    done
  fi
  stop_everything
  if [ "$outcome" = ok ]; then
    echo "stress: round $round passed ($((SECONDS - round_started)) s)"
  else
    failed=$((failed + 1))
    echo "stress: round $round FAILED ($((SECONDS - round_started)) s); what it printed:"
    tail -n 15 "$evidence"/round-"$round"-*.log | sed 's/^/    /'
  fi
done
echo "stress: $failed of $rounds rounds failed in $((SECONDS - started)) s${boot_each:+ (each prefix booted on its own)};" \
     "the evidence is in $evidence"
[ "$failed" -eq 0 ]
