#!/usr/bin/env bash
# The desktop installation round trip (make install / make uninstall), run by CTest under the
# throwaway prefix and display that scripts/test.sh provides:
#   desktop_install_round_trip.sh BUILD-DIR kelvane_installer_check.exe
# Installs into a throwaway home whose name needs quoting, with a data folder of its own and files
# of other programs beside Kelvane's; checks the desktop entry with desktop-file-validate (a hint
# counts as a failure) and the icons' sizes; starts the program through the installed launcher
# under a user's locale that is not Chinese, closes its main window and expects exit code 0;
# uninstalls and expects the home to be as it was. The list of installed files never loses track:
# an installation stopped half-way lists what it put in place for the removal, and a removal that
# meets a file it cannot remove (a non-empty folder in its place, which stops rm even for root)
# ends non-zero with the file still listed; a listed path leading out through ".." is left alone.
set -uo pipefail
build=$1 check=$2
source_dir=$(realpath "$(dirname "$0")/../..")
. "$source_dir/tests/support/script_checks.sh" "desktop round trip"
. "$source_dir/scripts/wine-env.sh"

step() { echo "desktop round trip: $*"; }

[ -n "${WINEPREFIX:-}" ] && [ "$(realpath -m "$WINEPREFIX")" != "$(realpath -m "$HOME/.wine")" ] ||
  fail "WINEPREFIX must name a throwaway prefix (scripts/test.sh sets one up)"
[ -n "${DISPLAY:-}" ] || fail "DISPLAY is not set (scripts/test.sh starts a private one)"
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is missing (scripts/setup.sh installs it)"

scratch=$(mktemp -d /tmp/kelvane-desktop.XXXXXX) || { echo "$0: cannot make a temporary folder" >&2; exit 1; }
cleanup() { rm -rf "$scratch"; }
home="$scratch/user's home"
data="$home/data home"
mkdir -p "$home/.local/bin" "$data/applications" "$data/icons/hicolor/48x48/apps"
echo other >"$home/.local/bin/other"
echo other >"$data/applications/other.desktop"
echo other >"$data/icons/hicolor/48x48/apps/other.png"
echo "the user's own" >"$home/precious"

listing() {
  (cd "$home" && find . -printf '%y %m %p\n' | sort && find . -type f -exec md5sum {} + | sort -k2)
}
as_user() { env HOME="$home" XDG_DATA_HOME="$data" LANG=C.UTF-8 LC_ALL=C.UTF-8 "$@"; }

before=$(listing)
manifest="$data/kelvane/installed"
step "an installation stopped half-way lists what it put in place"
echo obstacle >"$data/icons/hicolor/256x256"
as_user KELVANE_BUILD_DIR="$build" bash "$source_dir/scripts/install.sh" 2>"$scratch/err" &&
  fail "the installation reported success although it could not make a folder"
grep -qxF "file $data/kelvane/Kelvane.exe" "$manifest" || fail "the files put in place are not listed"
as_user bash "$source_dir/scripts/install.sh" --uninstall || fail "the removal after a failed installation failed"
rm "$data/icons/hicolor/256x256"
[ "$before" = "$(listing)" ] || fail "a failed installation and its removal left the home changed"

step "installing into $home"
as_user KELVANE_BUILD_DIR="$build" bash "$source_dir/scripts/install.sh" || fail "the installation failed"

entry="$data/applications/kelvane.desktop"
[ -f "$entry" ] || fail "no desktop entry $entry"
validation=$(desktop-file-validate "$entry" 2>&1) && [ -z "$validation" ] ||
  fail "desktop-file-validate rejects $entry or hints: $validation"
for line in 'Name=系统优化Kelvane' 'Icon=kelvane' 'Categories=System;' 'Type=Application' \
            "Exec=\"${home//\\/\\\\}/.local/bin/kelvane\""; do
  grep -qxF "$line" "$entry" || fail "the desktop entry has no line $line"
done
LC_ALL=C grep -q '^Comment=[A-Za-z][ -~]*$' "$entry" || fail "the desktop entry has no English comment"
LC_ALL=C.UTF-8 grep -qP '^Comment\[zh_CN\]=.*\p{Han}' "$entry" || fail "the desktop entry has no Chinese comment"
for size in 16 22 24 32 48 64 128 256; do
  icon="$data/icons/hicolor/${size}x${size}/apps/kelvane.png"
  [ -f "$icon" ] || fail "no icon $icon"
  [ "$(identify -format '%m %wx%h' "$icon")" = "PNG ${size}x${size}" ] ||
    fail "$icon is $(identify -format '%m %wx%h' "$icon")"
done
cmp -s "$data/kelvane/Kelvane.exe" "$build/Kelvane.exe" || fail "the installed Kelvane.exe is not the built one"
step "desktop entry valid, icons at 16 to 256 pixels"

step "starting the program through $home/.local/bin/kelvane"
as_user "$home/.local/bin/kelvane" </dev/null >"$scratch/out" 2>"$scratch/err" &
launcher=$!
program=$(realpath "$data/kelvane/Kelvane.exe")
wine_run "$WINE64" "$check" closes "Z:${program//\//\\}" || { kill "$launcher"; fail "the main window did not show or close"; }
wait "$launcher"
status=$?
[ "$status" -eq 0 ] || fail "the launcher ended with code $status: $(cat "$scratch/err")"
[ ! -s "$scratch/err" ] || fail "the launcher printed: $(cat "$scratch/err")"
step "the main window showed, closed, and the program ended with code 0"

step "a file that cannot be removed stays listed, and the removal ends non-zero"
stuck="$data/icons/hicolor/16x16/apps/kelvane.png"
rm "$stuck" && mkdir "$stuck" && touch "$stuck/inside"
echo "file $data/../precious" >>"$manifest"
as_user bash "$source_dir/scripts/install.sh" --uninstall 2>"$scratch/err" && fail "the removal reported success"
grep -qxF "file $stuck" "$manifest" || fail "$stuck is no longer listed"
grep -qF "$stuck" "$scratch/err" || fail "the removal did not say which file stayed"
[ -f "$home/precious" ] || fail "the removal followed .. out of the data folder"
rm -r "$stuck"

step "uninstalling"
as_user bash "$source_dir/scripts/install.sh" --uninstall || fail "the removal failed"
after=$(listing)
[ "$before" = "$after" ] || fail "the home differs after the removal:
$(diff <(echo "$before") <(echo "$after"))"
step "the home is as it was before the installation"
checks_reached_end
