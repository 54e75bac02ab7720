#!/usr/bin/env bash
# Measures Kelvane's figures under Wine (make bench): one run of KelvaneBench.exe in a throwaway
# prefix on a private display, under the Chinese locale the tests use. Each figure is printed as
# a ratio against a baseline measured in the same run. Arguments choose figures (start-up, report,
# delete-tree, size; all when none is named). KELVANE_BUILD_DIR names the build (default build).
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
build=${KELVANE_BUILD_DIR:-build}
for file in "$build/Kelvane.exe" "$build/bench/KelvaneBench.exe"; do
  [ -f "$file" ] || { echo "bench: $file is missing (make build)" >&2; exit 1; }
done

scratch=$(mktemp -d /tmp/kelvane-bench.XXXXXX) || { echo "$0: cannot make a temporary folder" >&2; exit 1; }
export WINEPREFIX="$scratch/prefix"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
use_throwaway_wine_env
cleanup() {
  prefix_remove
  stop_private_display
  rm -rf "$scratch"
}
trap cleanup EXIT

echo "bench: $(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1);" \
     "$("$WINE64" --version)"
start_private_display || exit 1
echo "bench: preparing a throwaway Wine prefix"
prefix_make || { echo "bench: the Wine prefix was not made" >&2; exit 1; }

windows_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }
wine_run "$WINE64" "$build/bench/KelvaneBench.exe" "$(windows_path "$build/Kelvane.exe")" "$@"
