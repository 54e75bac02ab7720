#!/usr/bin/env bash
# Starts Kelvane.exe under Wine on the user's display, in the user's own Wine prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "make run: no display to show Kelvane on (DISPLAY is not set)." >&2
  exit 1
fi
exec "$WINE64" "${KELVANE_BUILD_DIR:-build}/Kelvane.exe"
