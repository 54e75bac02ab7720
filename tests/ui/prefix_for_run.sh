#!/usr/bin/env bash
# A Wine prefix of its own for a window test program's run at another display scale or with
# another colour scheme, and its removal:
#   prefix_for_run.sh PREFIX PROGRAM SETTING...   makes it, each SETTING dpi=N or palette=NAME
#                                                 (scripts/wine-env.sh), and leaves its server
#                                                 held for the run; PROGRAM lists its tests there
#                                                 once, which keeps its windows unmanaged from the
#                                                 next start on
#   prefix_for_run.sh --remove PREFIX             stops its Wine server and removes it
set -uo pipefail
. "$(dirname "$0")/../../scripts/wine-env.sh"
use_throwaway_wine_env

if [ "$1" = --remove ]; then
  WINEPREFIX=$2 prefix_remove
  exit
fi
export WINEPREFIX=$1
program=$2
shift 2
# What a run that stopped half-way left behind.
prefix_remove || exit 1
prefix_make "$@" || { echo "prefix_for_run: the prefix with $* was not made" >&2; exit 1; }
wine_run "$WINE64" "$program" --gtest_list_tests >/dev/null || exit 1
echo "prefix with $*: $WINEPREFIX"
