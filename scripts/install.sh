#!/usr/bin/env bash
# Installs the built Kelvane for the current user's Linux desktop (make install), or removes it
# again (make uninstall: install.sh --uninstall). Only the user's own folders are written, never a
# system one, and nothing is asked of sudo:
#   DATA/kelvane/                      Kelvane.exe, its launcher and the launcher's wine-env.sh
#   ~/.local/bin/kelvane               a link to that launcher
#   DATA/applications/kelvane.desktop  the desktop's menu entry
#   DATA/icons/hicolor/NxN/apps/kelvane.png
# DATA is $XDG_DATA_HOME, else ~/.local/share. DATA/kelvane/installed lists the files put in place
# and the folders made for them; removal takes exactly those files, and those folders once they
# are empty. The list never loses track: an installation that fails half-way lists what it put in
# place so far, and a removal keeps listing every file it could not remove and ends non-zero. The
# Wine prefix the program ran in is the user's and stays.
# KELVANE_BUILD_DIR names the build (default build).
set -uo pipefail
cd "$(dirname "$0")/.."

# Set once the installation may have put something in place.
placing=
fail() {
  echo "$action: $*" >&2
  if [ -n "$placing" ]; then
    if write_manifest; then
      echo "install: what was put in place so far is listed in $manifest; make uninstall removes it" >&2
    else
      echo "install: $manifest cannot be written either; these were put in place:" >&2
      printf '  %s\n' "${files[@]}" "${folders[@]}" >&2
    fi
  fi
  exit 1
}

action=install
[ "${1:-}" = --uninstall ] && action=uninstall
[ -n "${HOME:-}" ] && [ "${HOME#/}" != "$HOME" ] || fail "HOME is not an absolute path"
# A relative XDG_DATA_HOME is to be ignored, as the base directory rules say.
data=$HOME/.local/share
[ -n "${XDG_DATA_HOME:-}" ] && [ "${XDG_DATA_HOME#/}" != "$XDG_DATA_HOME" ] && data=$XDG_DATA_HOME
while [ "${data%/}" != "$data" ]; do data=${data%/}; done
# Everything is below the root: a data folder there would let a list name any file on the system.
[ -n "$data" ] || fail "the data folder (XDG_DATA_HOME=$XDG_DATA_HOME) is the root folder; set it to a folder of your own"
folder=$data/kelvane
launcher=$folder/kelvane
link=$HOME/.local/bin/kelvane
entry=$data/applications/kelvane.desktop
manifest=$folder/installed

# The user's own link only: another program's kelvane is left alone.
our_link() { [ -L "$link" ] && [ "$(readlink "$link")" = "$launcher" ]; }
# Whether PATH lies below BASE, never leaving it through ".." or through a symbolic link on the
# way down from BASE (PATH itself may be one: removing it removes the link).
inside() {  # PATH BASE
  case $1 in
    "$2"/*) case "/${1#"$2"/}/" in */../*) return 1 ;; esac ;;
    *) return 1 ;;
  esac
  local folder
  folder=$(dirname "$1")
  while [ "$folder" != "$2" ]; do
    [ -L "$folder" ] || [ "$folder" = / ] || [ "$folder" = . ] && return 1
    folder=$(dirname "$folder")
  done
}

# The files and folders an installation lists, into files and folders.
files=() folders=()
read_manifest() {
  local line
  while IFS= read -r line; do
    case $line in
      "file "*) files+=("${line#file }") ;;
      "folder "*) folders+=("${line#folder }") ;;
    esac
  done <"$manifest"
}
write_manifest() {
  {
    [ ${#files[@]} -eq 0 ] || printf 'file %s\n' "${files[@]}"
    [ ${#folders[@]} -eq 0 ] || printf 'folder %s\n' "${folders[@]}"
  } | LC_ALL=C sort -u >"$manifest.new" && mv -f "$manifest.new" "$manifest"
}

if [ "$action" = uninstall ]; then
  if [ ! -f "$manifest" ]; then
    echo "uninstall: Kelvane is not installed for this user (there is no $manifest)"
    exit 0
  fi
  [ ! -L "$folder" ] || fail "$folder is a symbolic link; nothing was removed"
  read_manifest
  removed=0 kept=()
  for file in "${files[@]}"; do
    # Only what an installation can have put in place, whatever the list says.
    if [ "$file" = "$link" ]; then
      our_link || continue
    elif ! inside "$file" "$data"; then
      continue
    fi
    [ -e "$file" ] || [ -L "$file" ] || continue
    if rm -f "$file" 2>/dev/null && [ ! -e "$file" ] && [ ! -L "$file" ]; then
      removed=$((removed + 1))
    else
      kept+=("$file")
      echo "uninstall: $file cannot be removed; it stays, listed in $manifest" >&2
    fi
  done
  if [ ${#kept[@]} -gt 0 ]; then
    files=("${kept[@]}")
    write_manifest || echo "uninstall: $manifest cannot be written: the files above are no longer listed" >&2
    echo "uninstall: removed $removed files of Kelvane; run make uninstall again once the others can go" >&2
    exit 1
  fi
  rm -f "$manifest" || fail "$manifest cannot be removed"
  rmdir "$folder" 2>/dev/null
  # Deepest first; a folder that holds something else by now stays.
  if [ ${#folders[@]} -gt 0 ]; then
    printf '%s\n' "${folders[@]}" | LC_ALL=C sort -r | while IFS= read -r made; do
      { inside "$made" "$data" || inside "$made" "$HOME"; } && rmdir "$made" 2>/dev/null
    done
  fi
  if [ -d "$folder" ]; then
    echo "uninstall: $folder holds files Kelvane did not put there; it stays" >&2
  fi
  echo "uninstall: removed $removed files of Kelvane; the Wine prefix stays"
  exit 0
fi

program=${KELVANE_BUILD_DIR:-build}/Kelvane.exe
[ -f "$program" ] || fail "$program is missing (make build)"
if [ -e "$link" ] || [ -L "$link" ]; then
  our_link || fail "$link exists and is not Kelvane's launcher; it stays, and nothing was installed"
fi

# What an earlier installation put in place stays listed, so that the removal still takes it.
[ -f "$manifest" ] && read_manifest

placing=yes

# Makes a folder with its missing parents and lists each one it made (before making it, so that
# one made before a failure is listed too).
make_folder() {
  local path=$1
  while [ ! -e "$path" ] && [ ! -L "$path" ]; do
    folders+=("$path")
    path=$(dirname "$path")
  done
  mkdir -p "$1" || fail "cannot make $1"
}

# put SOURCE TARGET MODE
put() {
  make_folder "$(dirname "$2")"
  files+=("$2")
  install -T -m "$3" "$1" "$2" || fail "cannot write $2"
}

# A value of a desktop entry's Exec key: an argument with a reserved character is quoted, with
# the four characters that stay special inside quotes escaped; then the string escapes of every
# value (backslash) and the field code escape (%).
exec_argument() {
  local argument=$1
  case $argument in
    *[[:space:]\"\'\\\>\<~\|\&\;\$\*\?\#\(\)\`]*)
      argument=$(printf '%s' "$argument" | sed -e 's/[\\"`$]/\\&/g')
      argument="\"$argument\"" ;;
  esac
  argument=${argument//\\/\\\\}
  printf '%s' "${argument//%/%%}"
}

put "$program" "$folder/Kelvane.exe" 644
put scripts/kelvane "$launcher" 755
put scripts/wine-env.sh "$folder/wine-env.sh" 644
make_folder "$(dirname "$link")"
files+=("$link")
ln -sfn "$launcher" "$link" || fail "cannot write $link"
for icon in resources/hicolor/*/apps/kelvane.png; do
  put "$icon" "$data/icons/${icon#resources/}" 644
done

command=$(exec_argument "$link")
make_folder "$(dirname "$entry")"
files+=("$entry")
cat >"$entry" <<EOF || fail "cannot write $entry"
[Desktop Entry]
Type=Application
Version=1.4
Name=系统优化Kelvane
GenericName=System Tune-up
GenericName[zh_CN]=系统优化
Comment=Shows facts about the system and tunes its Windows registry settings (runs under Wine)
Comment[zh_CN]=查看系统信息，优化 Windows 注册表设置（在 Wine 中运行）
Icon=kelvane
TryExec=${link//\\/\\\\}
Exec=$command
Terminal=false
Categories=System;
Keywords=registry;tune-up;system information;Wine;注册表;系统信息;优化;
StartupNotify=false
StartupWMClass=kelvane.exe
EOF

write_manifest || fail "cannot write $manifest"

echo "install: 系统优化Kelvane is in the desktop's menu (System); $link starts it"
case ":$PATH:" in
  *":$(dirname "$link"):"*) ;;
  *) echo "install: $(dirname "$link") is not on PATH; the menu entry starts Kelvane all the same" ;;
esac
