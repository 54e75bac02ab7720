#!/usr/bin/env bash
# Runs Kelvane on a private virtual display, in a throwaway Wine prefix under a Chinese locale,
# and saves what the user sees into build/screenshots/: the main window idle, with the pointer
# on a tile, and the help window.
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
build=${KELVANE_BUILD_DIR:-build}
out="$build/screenshots"
mkdir -p "$out"

scratch=$(mktemp -d /tmp/kelvane-shot.XXXXXX)
export WINEPREFIX="$scratch/prefix"
# KELVANE_SCREENSHOT_LANG=en_US.UTF-8 shows the program under code page 1252.
export LANG=${KELVANE_SCREENSHOT_LANG:-zh_CN.UTF-8} LC_ALL=${KELVANE_SCREENSHOT_LANG:-zh_CN.UTF-8}
cleanup() {
  "$WINESERVER" -k >/dev/null 2>&1
  stop_private_display
  rm -rf "$scratch"
}
trap cleanup EXIT

start_private_display || exit 1
prepare_prefix

# The driver runs in the program's own virtual desktop, starts it there, and saves BMPs.
windows_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }
"$WINE64" explorer /desktop=Kelvane,1024x768 "$build/tests/kelvane_screenshots.exe" \
  "$(windows_path "$build/Kelvane.exe")" "$(windows_path "$scratch")" >/dev/null 2>&1
for bitmap in "$scratch"/*.bmp; do
  [ -e "$bitmap" ] || { echo "screenshot: nothing was captured" >&2; exit 1; }
  name=$(basename "$bitmap" .bmp)
  convert "$bitmap" "$out/$name.png"
  echo "screenshot: $out/$name.png"
done
