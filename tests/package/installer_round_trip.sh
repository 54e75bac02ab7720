#!/usr/bin/env bash
# The installer round trip, run by CTest under the throwaway prefix and display that
# scripts/test.sh provides:
#   installer_round_trip.sh PACKAGE-DIR VERSION BUILT-Kelvane.exe kelvane_installer_check.exe
# Installs Kelvane-VERSION-setup.exe silently, checks the files, the shortcut and the uninstall
# entry, starts the installed program and closes it, uninstalls silently and checks that
# nothing the installer put in place is left.
set -uo pipefail
package_dir=$1 version=$2 built_program=$3 check=$4
. "$(dirname "$0")/../../scripts/wine-env.sh"

fail() { echo "installer round trip: $*" >&2; exit 1; }
step() { echo "installer round trip: $*"; }

# Never the user's own prefix: the installer writes machine-wide.
[ -n "${WINEPREFIX:-}" ] && [ "$(realpath -m "$WINEPREFIX")" != "$(realpath -m "$HOME/.wine")" ] ||
  fail "WINEPREFIX must name a throwaway prefix (scripts/test.sh sets one up)"
[ -n "${DISPLAY:-}" ] || fail "DISPLAY is not set (scripts/test.sh starts a private one)"

setup="$package_dir/Kelvane-$version-setup.exe"
zip_file="$package_dir/Kelvane-$version-win64.zip"
[ -f "$setup" ] || fail "$setup is missing (scripts/package.sh builds it)"
[ -f "$zip_file" ] || fail "$zip_file is missing (scripts/package.sh builds it)"

# The portable zip: exactly the program, the README and the licence, at its top level.
listing=$(unzip -Z1 "$zip_file" | sort | tr '\n' ' ')
[ "$listing" = "Kelvane.exe LICENSE README.md " ] || fail "the zip holds: $listing"
unzip -p "$zip_file" Kelvane.exe | cmp -s - "$built_program" || fail "the zip's Kelvane.exe is not the built one"

folder_windows='C:\Program Files\Kelvane'
folder="$WINEPREFIX/drive_c/Program Files/Kelvane"
[ ! -e "$folder" ] || fail "$folder exists before the installation"
"$WINE64" "$check" removed </dev/null 2>/dev/null || fail "the prefix already has a Kelvane installation"

step "installing silently"
"$WINE64" "$setup" /S </dev/null || fail "the installer ended with code $?"
installed=$(cd "$folder" 2>/dev/null && ls -A | sort | tr '\n' ' ')
[ "$installed" = "Kelvane.exe LICENSE README.md Uninstall.exe " ] || fail "the installation folder holds: $installed"
cmp -s "$folder/Kelvane.exe" "$built_program" || fail "the installed Kelvane.exe is not the built one"
"$WINE64" "$check" registered "$folder_windows" "$version" </dev/null || fail "the uninstall entry is wrong"
"$WINE64" "$check" shortcut "$folder_windows" </dev/null || fail "the Start-menu shortcut is wrong"

step "starting the installed program"
"$WINE64" "$check" starts "$folder_windows\\Kelvane.exe" </dev/null || fail "the installed program did not run"

step "uninstalling silently"
"$WINE64" "$check" uninstall </dev/null || fail "the uninstaller failed"
[ ! -e "$folder" ] || fail "left behind: $folder ($(ls -A "$folder" | tr '\n' ' '))"
"$WINE64" "$check" removed </dev/null || fail "the uninstaller left its traces"
step "installed, started, closed and removed without a trace"
