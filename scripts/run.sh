#!/usr/bin/env bash
# Starts the built Kelvane.exe under Wine on the user's display, in the user's own Wine prefix,
# exactly as the installed launcher does (scripts/kelvane).
set -uo pipefail
cd "$(dirname "$0")/.."
KELVANE_PROGRAM=$(realpath -m "${KELVANE_BUILD_DIR:-build}/Kelvane.exe") exec scripts/kelvane "$@"
