#!/usr/bin/env bash
# A Wine prefix of its own for a window test program's run at another display scale or with
# another colour scheme, and its removal:
#   prefix_for_run.sh PREFIX PROGRAM SETTING...   makes it, each SETTING dpi=N or palette=NAME
#                                                 (scripts/wine-env.sh has the palettes); PROGRAM
#                                                 lists its tests there once, which keeps its
#                                                 windows unmanaged from the next start on
#   prefix_for_run.sh --remove PREFIX             stops its Wine server and removes it
set -uo pipefail
. "$(dirname "$0")/../../scripts/wine-env.sh"

if [ "$1" = --remove ]; then
  WINEPREFIX=$2 "$WINESERVER" -k >/dev/null 2>&1
  rm -rf "$2"
  exit 0
fi
export WINEPREFIX=$1
program=$2
shift 2
"$WINESERVER" -k >/dev/null 2>&1
rm -rf "$WINEPREFIX"
prepare_prefix
for setting in "$@"; do
  case $setting in
    dpi=*) set_prefix_dpi "${setting#dpi=}" || { echo "cannot set the prefix to ${setting#dpi=} dpi" >&2; exit 1; } ;;
    palette=*) set_prefix_palette "${setting#palette=}" || { echo "cannot set the palette ${setting#palette=}" >&2; exit 1; } ;;
    *) echo "unknown setting $setting" >&2; exit 1 ;;
  esac
done
# The server reads the settings when it starts.
"$WINESERVER" -k >/dev/null 2>&1
"$WINESERVER" -w >/dev/null 2>&1
"$WINE64" "$program" --gtest_list_tests </dev/null >/dev/null 2>&1
echo "prefix with $*: $WINEPREFIX"
