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
export WINEPREFIX="$scratch/prefix"
# KELVANE_SCREENSHOT_LANG=en_US.UTF-8 shows the program under code page 1252.
export LANG=${KELVANE_SCREENSHOT_LANG:-zh_CN.UTF-8} LC_ALL=${KELVANE_SCREENSHOT_LANG:-zh_CN.UTF-8}
cleanup() {
  "$WINESERVER" -k >/dev/null 2>&1
  stop_private_display
  rm -rf "$scratch"
}
trap cleanup EXIT

# Room for the windows at 200 %.
export KELVANE_SCREEN_SIZE=1600x1000
start_private_display || exit 1
prepare_prefix

# The driver runs in the program's own virtual desktop, starts it there, and saves BMPs.
windows_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }
for dpi in ${KELVANE_SCREENSHOT_DPIS:-96 120 144 192}; do
  # A fresh Wine server and desktop for each scale, so nothing drawn at the last one stays.
  "$WINESERVER" -k >/dev/null 2>&1
  prepare_prefix
  set_prefix_dpi "$dpi" || { echo "screenshot: cannot set $dpi dpi" >&2; exit 1; }
  "$WINE64" explorer /desktop=Kelvane,$KELVANE_SCREEN_SIZE "$build/tests/kelvane_screenshots.exe" \
    "$(windows_path "$build/Kelvane.exe")" "$(windows_path "$scratch")" "$dpi" >/dev/null 2>&1
done
# The same program with high contrast switched on, on each of Windows' high-contrast palettes.
for palette in HighContrastBlack HighContrastWhite; do
  "$WINESERVER" -k >/dev/null 2>&1
  prepare_prefix
  set_prefix_dpi 96 && set_prefix_palette "$palette" || { echo "screenshot: cannot set $palette" >&2; exit 1; }
  "$WINESERVER" -k >/dev/null 2>&1
  "$WINE64" explorer /desktop=Kelvane,$KELVANE_SCREEN_SIZE "$build/tests/kelvane_palette_screenshots.exe" \
    "$(windows_path "$scratch")" "$palette" >/dev/null 2>&1
done
for bitmap in "$scratch"/*.bmp; do
  [ -e "$bitmap" ] || { echo "screenshot: nothing was captured" >&2; exit 1; }
  name=$(basename "$bitmap" .bmp)
  convert "$bitmap" "$out/$name.png"
  echo "screenshot: $out/$name.png"
done
