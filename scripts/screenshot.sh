#!/usr/bin/env bash
# Runs Kelvane on a private virtual display, in a throwaway Wine prefix under a Chinese locale,
# and saves what the user sees into build/screenshots/: the main window idle, with the pointer
# on a tile, after a report, the help button's tool-tip and the help window, each at 96, 120,
# 144 and 192 dpi (100, 125, 150 and 200 %), named for the dpi (main-idle-144.png); then, with
# high contrast switched on, the main window with the pointer on a tile, after a report, and the
# help window, on High Contrast Black and White (main-report-HighContrastBlack.png).
# KELVANE_SCREENSHOT_DPIS chooses other scales.
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
build=${KELVANE_BUILD_DIR:-build}
out="$build/screenshots"
mkdir -p "$out"

scratch=$(mktemp -d /tmp/kelvane-shot.XXXXXX) || { echo "$0: cannot make a temporary folder" >&2; exit 1; }
use_throwaway_wine_env
# KELVANE_SCREENSHOT_LANG=en_US.UTF-8 shows the program under code page 1252.
export LANG=${KELVANE_SCREENSHOT_LANG:-zh_CN.UTF-8} LC_ALL=${KELVANE_SCREENSHOT_LANG:-zh_CN.UTF-8}
# One prefix booted; each picture's prefix is a copy of it with its own settings, so nothing drawn
# at one scale or in one palette stays for the next.
export KELVANE_PREFIX_TEMPLATE="$scratch/booted"
cleanup() {
  [ -d "$scratch/prefix" ] && WINEPREFIX="$scratch/prefix" prefix_remove
  stop_private_display
  rm -rf "$scratch"
}
trap cleanup EXIT

# Room for the windows at 200 %.
export KELVANE_SCREEN_SIZE=1600x1000
start_private_display || exit 1
WINEPREFIX=$KELVANE_PREFIX_TEMPLATE prefix_make_template || { echo "screenshot: the Wine prefix was not made" >&2; exit 1; }
export WINEPREFIX="$scratch/prefix"

# The driver runs in the program's own virtual desktop, starts it there, and saves BMPs.
windows_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }
# shoot SETTINGS SUFFIX DRIVER ARGUMENTS...: one prefix with SETTINGS (space-separated), the driver
# in it. The virtual desktop passes on neither the driver's exit code nor its standard error, so the
# driver writes how it went into driver-SUFFIX.txt.
shoot() {
  local settings=$1 suffix=$2 status outcome
  shift 2
  # shellcheck disable=SC2086
  prefix_make $settings || { echo "screenshot: the prefix with $settings was not made" >&2; return 1; }
  wine_run "$WINE64" explorer /desktop=Kelvane,$KELVANE_SCREEN_SIZE "$@" >/dev/null
  status=$?
  prefix_remove
  outcome=$(tr -d '\r' 2>/dev/null <"$scratch/driver-$suffix.txt") || outcome="the driver ended without saying how it went"
  [ "$status" -eq 0 ] && [ "$outcome" = done ] && return 0
  echo "screenshot: with $settings: $outcome" >&2
  return 1
}
for dpi in ${KELVANE_SCREENSHOT_DPIS:-96 120 144 192}; do
  shoot "dpi=$dpi" "$dpi" "$build/tests/kelvane_screenshots.exe" "$(windows_path "$build/Kelvane.exe")" \
    "$(windows_path "$scratch")" "$dpi" || exit 1
done
# The same program with high contrast switched on, on each of Windows' high-contrast palettes.
for palette in HighContrastBlack HighContrastWhite; do
  shoot "dpi=96 palette=$palette" "$palette" "$build/tests/kelvane_palette_screenshots.exe" "$(windows_path "$scratch")" \
    "$palette" || exit 1
done
for bitmap in "$scratch"/*.bmp; do
  [ -e "$bitmap" ] || { echo "screenshot: nothing was captured" >&2; exit 1; }
  name=$(basename "$bitmap" .bmp)
  convert "$bitmap" "$out/$name.png" || { echo "screenshot: cannot convert $bitmap" >&2; exit 1; }
  echo "screenshot: $out/$name.png"
done
