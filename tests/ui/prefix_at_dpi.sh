#!/usr/bin/env bash
# A Wine prefix whose display is set to DPI dots per inch, for a window test program's run at
# that scale, and its removal:
#   prefix_at_dpi.sh PREFIX DPI PROGRAM    makes it; PROGRAM lists its tests there once, which
#                                          keeps its windows unmanaged from the next start on
#   prefix_at_dpi.sh --remove PREFIX       stops its Wine server and removes it
set -uo pipefail
. "$(dirname "$0")/../../scripts/wine-env.sh"

if [ "$1" = --remove ]; then
  WINEPREFIX=$2 "$WINESERVER" -k >/dev/null 2>&1
  rm -rf "$2"
  exit 0
fi
export WINEPREFIX=$1
WINEPREFIX=$1 "$WINESERVER" -k >/dev/null 2>&1
rm -rf "$WINEPREFIX"
prepare_prefix
set_prefix_dpi "$2" || { echo "cannot set the prefix to $2 dpi" >&2; exit 1; }
"$WINE64" "$3" --gtest_list_tests </dev/null >/dev/null 2>&1
echo "prefix at $2 dpi: $WINEPREFIX"
