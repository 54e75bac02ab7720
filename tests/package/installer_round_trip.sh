#!/usr/bin/env bash
# The installer round trips, run by CTest on the display that scripts/test.sh provides, in a
# throwaway prefix of their own (a copy of the suite's booted one when there is one), removed
# whatever happens:
#   installer_round_trip.sh PACKAGE-DIR VERSION BUILT-Kelvane.exe kelvane_installer_check.exe FolderGuard.exe
# Each case installs or uninstalls silently and checks the files, the shortcut and the uninstall
# entry afterwards: the default folder (the installed program starts and closes), an upgrade while
# another program shows a "TForm1" window, the running program refusing both, another program
# holding the running program's mutex, or an event of its name, stopping neither, a copied
# uninstaller changing nothing, a held file stopping the uninstallation, a folder that already
# holds the user's files, which survive byte for byte, the installation folder replaced by a link
# (the uninstaller refuses, the link's target untouched), a reinstall over an installation
# without its program, and folders refused with exit code 2 and nothing changed: a file, a link on
# the way, a folder everyone can change.
# Wine shows every folder as its user's, with Everyone allowed what the Unix mode bits allow for
# others, and maps a descriptor given when a folder is made onto those bits; a Unix symbolic link
# is a reparse point to it, and it makes no junction of its own. So the folder made in one call
# shows as one that others cannot even read, and the refusals are real; a folder that only an
# ACL makes changeable (an administrator's C:\Tools) is refused in FolderRulesTest's table only.
set -uo pipefail
package_dir=$1 version=$2 built_program=$3 check_tool=$4 folder_guard=$5
. "$(dirname "$0")/../support/script_checks.sh" "installer round trip"
. "$(dirname "$0")/../../scripts/wine-env.sh"

step() { echo "installer round trip: [${SECONDS}s] $*"; }
# Runs the check tool; a failure shows the command, its exit status and the tool's own reason.
check() { wine_run "$WINE64" "$check_tool" "$@"; }
guard() { wine_run "$WINE64" "$folder_guard" "$@"; }
# Wine shows the Unix file system as drive Z:.
windows_path() { local path; path=$(realpath -m "$1"); echo "Z:${path//\//\\}"; }
# The files of a folder, one line each, with their SHA-256.
fingerprint() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 -r sha256sum); }
listing() { (cd "$1" 2>/dev/null && ls -A | sort | tr '\n' ' '); }

[ -n "${DISPLAY:-}" ] || fail "DISPLAY is not set (scripts/test.sh starts a private one)"
# A prefix of its own: the installer writes machine-wide, and nothing it leaves may reach another test.
use_throwaway_wine_env
scratch=$(mktemp -d /tmp/kelvane-installer.XXXXXX) || fail "cannot make a temporary folder"
export WINEPREFIX="$scratch/prefix"
cleanup() { prefix_remove; rm -rf "$scratch"; }
prefix_make || fail "the prefix was not made"

setup="$package_dir/Kelvane-$version-setup.exe"
zip_file="$package_dir/Kelvane-$version-win64.zip"
[ -f "$setup" ] || fail "$setup is missing (scripts/package.sh builds it)"
[ -f "$zip_file" ] || fail "$zip_file is missing (scripts/package.sh builds it)"
setup_windows=$(windows_path "$setup")
drive_c="$WINEPREFIX/drive_c"

# The portable zip: exactly the program, its own README and the licence, at its top level. The
# README names no file the zip lacks and is a Windows text file, Chinese first, then English, each
# naming the shortcuts and the uninstaller.
[ "$(unzip -Z1 "$zip_file" | sort | tr '\n' ' ')" = "Kelvane.exe LICENSE README.txt " ] ||
  fail "the zip holds: $(unzip -Z1 "$zip_file" | tr '\n' ' ')"
unzip -p "$zip_file" Kelvane.exe | cmp -s - "$built_program" || fail "the zip's Kelvane.exe is not the built one"
readme=$(unzip -p "$zip_file" README.txt)
[[ $readme == $'\xef\xbb\xbf'* && $readme == *$'\r\n'* && $readme == *"V$version"$'\r\n'* ]] ||
  fail "the zip's README.txt is not a Windows text file naming version $version"
! grep -qE '\.(md|png)\b|@[A-Z]+@' <<<"$readme" || fail "the zip's README.txt names files the zip lacks"
[[ ${readme%%Keyboard*} == *键盘*Ctrl+1*F1*'Uninstall.exe /S'* && ${readme#*Keyboard} == *Ctrl+1*F1*'Uninstall.exe /S'* ]] ||
  fail "the zip's README.txt does not name the shortcuts and the uninstaller in Chinese, then in English"

folder_windows='C:\Program Files\Kelvane'
folder="$drive_c/Program Files/Kelvane"
program_windows="$folder_windows\\Kelvane.exe"
[ ! -e "$folder" ] || fail "$folder exists before the installation"
check removed 2>/dev/null || fail "the prefix already has a Kelvane installation"

expect_installed() {  # FOLDER-UNIX FOLDER-WINDOWS
  [ "$(listing "$1")" = "Kelvane.exe LICENSE README.txt Uninstall.exe " ] || fail "$1 holds: $(listing "$1")"
  cmp -s "$1/Kelvane.exe" "$built_program" || fail "the installed Kelvane.exe is not the built one"
  unzip -p "$zip_file" README.txt | cmp -s - "$1/README.txt" || fail "the installed README.txt is not the zip's"
  check registered "$2" "$version" || fail "the uninstall entry is wrong"
  check shortcut "$2" || fail "the Start-menu shortcut is wrong"
  check entries 1 || fail "not exactly one uninstall entry"
}

# The installation folder was made with its own descriptor: read back through the folder helper,
# Everyone may do nothing there, where the folder above it (made by Wine) lets Everyone read.
expect_made_in_one_call() {  # FOLDER-WINDOWS PARENT-WINDOWS
  local made above
  made=$(guard show "$1") && above=$(guard show "$2") || fail "the folder helper cannot read $1"
  echo "installer round trip: $1 reads as $made"
  [[ $made != *';;;WD)'* && $above == *';;;WD)'* ]] || fail "$1 was not made with its own permissions"
}

step "installing silently into Program Files"
wine_run "$WINE64" "$setup" /S || fail "the installer failed"
expect_installed "$folder" "$folder_windows"
expect_made_in_one_call "$folder_windows" 'C:\Program Files'
before=$(fingerprint "$folder")

step "starting the installed program"
check starts "$program_windows" || fail "the installed program did not run"

step "the running program stops the installer and the uninstaller"
check run fails "running:$program_windows" "$setup_windows" /S || fail "the installer ignored the running program"
check run fails "running:$program_windows" uninstall || fail "the uninstaller ignored the running program"
[ "$(fingerprint "$folder")" = "$before" ] || fail "the installation changed while the program ran"
check entries 1 || fail "the uninstall entry changed while the program ran"

step "another program holding the running program's mutex stops neither"
check run succeeds squatting "$setup_windows" /S || fail "the installer took a mutex alone for the running program"
expect_installed "$folder" "$folder_windows"

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

step "uninstalling silently once the file is free, while another program holds the mutex"
check run succeeds squatting uninstall || fail "the uninstaller failed"
[ ! -e "$folder" ] || fail "left behind: $folder ($(listing "$folder"))"
check removed || fail "the uninstaller left its traces"

step "installing into a folder that holds the user's own files"
tools="$drive_c/Tools"
mkdir -p "$tools/notes"
echo "the user's own README" >"$tools/README.md"
echo "the user's own licence" >"$tools/LICENSE"
echo "the user's notes" >"$tools/notes/today.txt"
tools_before=$(fingerprint "$tools")
wine_run "$WINE64" "$setup" /S '/D=C:\Tools' || fail "the installer failed"
[ "$(fingerprint "$tools" | grep -v ' ./Kelvane/')" = "$tools_before" ] || fail "the user's files changed"
expect_installed "$tools/Kelvane" 'C:\Tools\Kelvane'
expect_made_in_one_call 'C:\Tools\Kelvane' 'C:\Tools'
check run succeeds - uninstall || fail "the uninstaller failed"
[ "$(fingerprint "$tools")" = "$tools_before" ] || fail "the user's files did not survive the uninstallation"
[ ! -e "$tools/Kelvane" ] || fail "left behind: $tools/Kelvane"
check removed || fail "the uninstaller left its traces"
rm -rf "$tools"

step "an event squatting the running program's name stops neither installing nor uninstalling"
check run succeeds squatting-event "$setup_windows" /S || fail "the installer took an event's name for the running program"
expect_installed "$folder" "$folder_windows"
check run succeeds squatting-event uninstall || fail "the uninstaller took an event's name for the running program"
[ ! -e "$folder" ] || fail "left behind: $folder ($(listing "$folder"))"
check removed || fail "the uninstaller left its traces"

step "the installation folder replaced by a link: the uninstaller removes nothing, there or where it leads"
"$WINE64" "$setup" /S </dev/null || fail "the installer ended with code $?"
moved="$drive_c/Moved"
mv "$folder" "$moved" && ln -s "$moved" "$folder" || fail "cannot put a link in place of $folder"
moved_before=$(fingerprint "$moved")
check run 2 - uninstall || fail "the uninstaller did not refuse a link with code 2"
[ "$(fingerprint "$moved")" = "$moved_before" ] || fail "the uninstaller changed the folder the link leads to"
check entries 1 && check shortcut "$folder_windows" || fail "the uninstaller removed its entry or the shortcut"
rm "$folder" && mv "$moved" "$folder" || fail "cannot put $folder back"

step "reinstalling over an installation whose program file went goes into the recorded folder"
rm "$folder/Kelvane.exe"
"$WINE64" "$setup" /S </dev/null || fail "the installer ended with code $?"
expect_installed "$folder" "$folder_windows"
check run succeeds - uninstall || fail "the uninstaller failed"
[ ! -e "$folder" ] || fail "left behind: $folder ($(listing "$folder"))"
check removed || fail "the uninstaller left its traces"

# Folders the installer refuses: FOLDER|the helper's verdict|what it is. Each ends the silent
# installer with exit code 2 and changes nothing.
echo "notes" >"$drive_c/notes"
mkdir -p "$drive_c/Target" "$drive_c/Open"
ln -s Target "$drive_c/Linked"
chmod 0777 "$drive_c/Open"
refusals=('C:\notes|12|a path naming a file'
          'C:\Linked\Kelvane|11|a Unix symbolic link on the way, a reparse point to Wine'
          'C:\Open|10|a folder everyone can change (mode 0777)')
wine_run "$WINE64" cmd /c 'mklink /J C:\Junction C:\Target' >/dev/null 2>"$scratch/mklink.err"
if [ -d "$drive_c/Junction" ]; then
  refusals+=('C:\Junction\Kelvane|11|a junction on the way')
else
  echo "installer round trip: Wine makes no junction ($(grep -o 'ended with exit code [0-9]*' "$scratch/mklink.err" ||
    echo 'mklink /J made nothing')); the symbolic link stands in for one"
fi
snapshot() { (cd "$drive_c" && find . -path ./windows -prune -o -path ./users -prune -o -printf '%y %m %p\n' | sort); }
for refusal in "${refusals[@]}"; do
  IFS='|' read -r asked verdict what <<<"$refusal"
  step "refusing $what: $asked"
  drive_before=$(snapshot)
  check run 2 - "$setup_windows" /S "/D=$asked" || fail "the installer did not refuse $asked with code 2"
  [ "$(snapshot)" = "$drive_before" ] || fail "refusing $asked changed drive C: $(diff <(echo "$drive_before") <(snapshot))"
  check removed || fail "refusing $asked left an installation behind"
  wine_run --expect "$verdict" "$WINE64" "$folder_guard" make "$asked" "$(windows_path "$scratch/verdict")" ||
    fail "the folder helper does not refuse $asked as $what"
done
step "all cases passed"
checks_reached_end
