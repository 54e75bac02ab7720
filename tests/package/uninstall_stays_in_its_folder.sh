#!/usr/bin/env bash
# make uninstall never reaches out of the data folder: not with the root as its data folder, and
# not through a symbolic link inside it, whatever its list of installed files says.
#   uninstall_stays_in_its_folder.sh INSTALL-SCRIPT
set -uo pipefail
install_script=$1
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
fail() { echo "uninstall stays in its folder: $*" >&2; exit 1; }

# The root as data folder: refused before anything is read or removed.
for root in / //; do
  output=$(HOME="$scratch/home" XDG_DATA_HOME=$root bash "$install_script" --uninstall 2>&1) &&
    fail "XDG_DATA_HOME=$root was taken as a data folder: $output"
  grep -q "root folder" <<<"$output" || fail "XDG_DATA_HOME=$root refused without saying why: $output"
done

# A list naming files and a folder reached through a link inside the data folder, and one file of
# its own: only that one goes.
data="$scratch/home/.local/share" outside="$scratch/outside"
mkdir -p "$data/kelvane" "$outside/empty"
echo "someone's picture" >"$outside/kelvane.png"
echo "Kelvane's" >"$data/kelvane/Kelvane.exe"
ln -s "$outside" "$data/icons"
printf '%s\n' "file $data/icons/kelvane.png" "file $data/kelvane/Kelvane.exe" "folder $data/icons/empty" \
  >"$data/kelvane/installed"
HOME="$scratch/home" XDG_DATA_HOME= bash "$install_script" --uninstall || fail "the uninstallation failed"
[ -f "$outside/kelvane.png" ] || fail "a file was removed through a symbolic link"
[ -d "$outside/empty" ] || fail "a folder was removed through a symbolic link"
[ ! -e "$data/kelvane/Kelvane.exe" ] || fail "the data folder's own file stayed"
echo "uninstall stays in its folder: passed"
