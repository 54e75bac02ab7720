#!/usr/bin/env bash
# The installer round trips, run by CTest under the throwaway prefix and display that
# scripts/test.sh provides:
#   installer_round_trip.sh PACKAGE-DIR VERSION BUILT-Kelvane.exe kelvane_installer_check.exe
# Each case installs or uninstalls silently and checks the files, the shortcut and the uninstall
# entry afterwards: the default folder (the installed program starts and closes), an upgrade while
# another program shows a "TForm1" window, the running program refusing both, a copied
# uninstaller changing nothing, a held file stopping the uninstallation, and a folder that already
# holds the user's files, which survive byte for byte.
# Folder permissions cannot be seen under Wine (its icacls only prints what it was asked); the
# case that needs them checks that the installer asked for exactly the intended permissions.
set -uo pipefail
package_dir=$1 version=$2 built_program=$3 check_tool=$4
. "$(dirname "$0")/../../scripts/wine-env.sh"

fail() { echo "installer round trip: $*" >&2; exit 1; }
step() { echo "installer round trip: [${SECONDS}s] $*"; }
# Runs the check tool; its standard error explains any failure.
check() { "$WINE64" "$check_tool" "$@" </dev/null; }
# Wine shows the Unix file system as drive Z:.
windows_path() { local path; path=$(realpath -m "$1"); echo "Z:${path//\//\\}"; }
# The files of a folder, one line each, with their SHA-256.
fingerprint() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 -r sha256sum); }
listing() { (cd "$1" 2>/dev/null && ls -A | sort | tr '\n' ' '); }

# Never the user's own prefix: the installer writes machine-wide.
[ -n "${WINEPREFIX:-}" ] && [ "$(realpath -m "$WINEPREFIX")" != "$(realpath -m "$HOME/.wine")" ] ||
  fail "WINEPREFIX must name a throwaway prefix (scripts/test.sh sets one up)"
[ -n "${DISPLAY:-}" ] || fail "DISPLAY is not set (scripts/test.sh starts a private one)"

setup="$package_dir/Kelvane-$version-setup.exe"
zip_file="$package_dir/Kelvane-$version-win64.zip"
[ -f "$setup" ] || fail "$setup is missing (scripts/package.sh builds it)"
[ -f "$zip_file" ] || fail "$zip_file is missing (scripts/package.sh builds it)"
setup_windows=$(windows_path "$setup")
drive_c="$WINEPREFIX/drive_c"

# The portable zip: exactly the program, its own README and the licence, at its top level. The
# README names no file the zip lacks and is a Windows text file.
[ "$(unzip -Z1 "$zip_file" | sort | tr '\n' ' ')" = "Kelvane.exe LICENSE README.txt " ] ||
  fail "the zip holds: $(unzip -Z1 "$zip_file" | tr '\n' ' ')"
unzip -p "$zip_file" Kelvane.exe | cmp -s - "$built_program" || fail "the zip's Kelvane.exe is not the built one"
readme=$(unzip -p "$zip_file" README.txt)
[[ $readme == $'\xef\xbb\xbf'* && $readme == *$'\r\n'* && $readme == *"V$version"$'\r\n'* ]] ||
  fail "the zip's README.txt is not a Windows text file naming version $version"
! grep -qE '\.(md|png)\b|@[A-Z]+@' <<<"$readme" || fail "the zip's README.txt names files the zip lacks"

folder_windows='C:\Program Files\Kelvane'
folder="$drive_c/Program Files/Kelvane"
program_windows="$folder_windows\\Kelvane.exe"
[ ! -e "$folder" ] || fail "$folder exists before the installation"
check removed 2>/dev/null || fail "the prefix already has a Kelvane installation"

expect_installed() {  # FOLDER-UNIX FOLDER-WINDOWS
  [ "$(listing "$1")" = "Kelvane.exe LICENSE README.txt Uninstall.exe " ] || fail "$1 holds: $(listing "$1")"
  cmp -s "$1/Kelvane.exe" "$built_program" || fail "the installed Kelvane.exe is not the built one"
  check registered "$2" "$version" || fail "the uninstall entry is wrong"
  check shortcut "$2" || fail "the Start-menu shortcut is wrong"
  check entries 1 || fail "not exactly one uninstall entry"
}

step "installing silently into Program Files"
WINEDEBUG=fixme+icacls "$WINE64" "$setup" /S </dev/null 2>"$WINEPREFIX/install.log" ||
  fail "the installer ended with code $?"
expect_installed "$folder" "$folder_windows"
! grep -q 'icacls' "$WINEPREFIX/install.log" || fail "the installer changed the permissions inside Program Files"
before=$(fingerprint "$folder")

step "starting the installed program"
check starts "$program_windows" || fail "the installed program did not run"

step "the running program stops the installer and the uninstaller"
check run fails "running:$program_windows" "$setup_windows" /S || fail "the installer ignored the running program"
check run fails "running:$program_windows" uninstall || fail "the uninstaller ignored the running program"
[ "$(fingerprint "$folder")" = "$before" ] || fail "the installation changed while the program ran"
check entries 1 || fail "the uninstall entry changed while the program ran"

step "upgrading silently while another program shows a TForm1 window"
check run succeeds window:TForm1 "$setup_windows" /S || fail "another program's window stopped the installer"
expect_installed "$folder" "$folder_windows"

step "a copy of the uninstaller elsewhere changes nothing"
decoy="$drive_c/Decoy"
mkdir -p "$decoy"
for name in Kelvane.exe README.txt LICENSE; do echo "the user's own $name" >"$decoy/$name"; done
cp "$folder/Uninstall.exe" "$decoy/"
decoy_before=$(fingerprint "$decoy")
check run fails - 'C:\Decoy\Uninstall.exe' /S || fail "the copied uninstaller reported success"
[ "$(fingerprint "$decoy")" = "$decoy_before" ] || fail "the copied uninstaller changed its folder"
expect_installed "$folder" "$folder_windows"
rm -rf "$decoy"

step "a file held open stops the uninstallation, which keeps the entry"
check run fails "holding:$folder_windows\\LICENSE" uninstall || fail "the uninstaller reported success"
check entries 1 || fail "the uninstall entry went although a file stayed"
for name in LICENSE Kelvane.exe Uninstall.exe; do
  [ -f "$folder/$name" ] || fail "$name went although the uninstallation stopped before it"
done

step "uninstalling silently once the file is free"
check run succeeds - uninstall || fail "the uninstaller failed"
[ ! -e "$folder" ] || fail "left behind: $folder ($(listing "$folder"))"
check removed || fail "the uninstaller left its traces"

step "installing into a folder that holds the user's own files"
tools="$drive_c/Tools"
mkdir -p "$tools/notes"
echo "the user's own README" >"$tools/README.md"
echo "the user's own licence" >"$tools/LICENSE"
echo "the user's notes" >"$tools/notes/today.txt"
tools_before=$(fingerprint "$tools")
WINEDEBUG=fixme+icacls "$WINE64" "$setup" /S '/D=C:\Tools' </dev/null 2>"$WINEPREFIX/install.log" ||
  fail "the installer ended with code $?"
[ "$(fingerprint "$tools" | grep -v ' ./Kelvane/')" = "$tools_before" ] || fail "the user's files changed"
expect_installed "$tools/Kelvane" 'C:\Tools\Kelvane'
# Outside Program Files the installer takes the folder over before copying; these are the commands.
grep -o 'stub: .*' "$WINEPREFIX/install.log" | sed 's/^stub: /installer ran: /'
grep -qF 'stub: "C:\\windows\\system32\\icacls.exe" "C:\\Tools\\Kelvane" "/setowner" "*S-1-5-32-544"' \
  "$WINEPREFIX/install.log" || fail "the installer did not make Administrators the owner of C:\\Tools\\Kelvane"
grep -qF 'stub: "C:\\windows\\system32\\icacls.exe" "C:\\Tools\\Kelvane" "/inheritance:r" "/grant:r" "*S-1-5-32-544:(OI)(CI)F" "*S-1-5-18:(OI)(CI)F" "*S-1-5-32-545:(OI)(CI)RX"' \
  "$WINEPREFIX/install.log" || fail "the installer did not restrict the permissions of C:\\Tools\\Kelvane"
check run succeeds - uninstall || fail "the uninstaller failed"
[ "$(fingerprint "$tools")" = "$tools_before" ] || fail "the user's files did not survive the uninstallation"
[ ! -e "$tools/Kelvane" ] || fail "left behind: $tools/Kelvane"
check removed || fail "the uninstaller left its traces"
rm -rf "$tools"
step "all cases passed"
