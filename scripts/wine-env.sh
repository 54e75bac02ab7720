# Sourced by the scripts that run Kelvane under Wine: where Wine is, how a Wine call is made and
# reported, and the one way a Wine prefix is made, set, held and removed.
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=${WINEDEBUG:--all}
# No Gecko or Mono installer prompts: Kelvane needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# For a throwaway prefix: besides the above, no desktop integration, which would otherwise write
# menu entries, icons and file types for the prefix's programs into the user's own home.
use_throwaway_wine_env() {
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# Runs a Wine command with no input, its output as it is and its standard error kept in a log:
#   wine_run [--expect STATUS] COMMAND...
# When the command ends with another status than expected (0 unless told), it prints the command,
# its exit status, how long it ran and the end of what it wrote to standard error, and keeps the
# log (in KELVANE_WINE_LOGS when set). Returns the command's own status; told what to expect, 0
# when the command ended so, else 1. Wine's processes that outlive the command may keep the
# log open: a file, unlike a pipe, keeps no caller waiting for them.
wine_run() {
  local expected=0 log started status
  if [ "$1" = --expect ]; then expected=$2; shift 2; fi
  log=$(wine_log_file) || return 125
  started=$(date +%s%N)
  "$@" </dev/null 2>"$log"
  status=$?
  if [ "$status" -ne "$expected" ]; then
    wine_report "$log" "$status" "$started" "$@"
    [ "$expected" -eq 0 ] && return "$status"
    return 1
  fi
  rm -f "$log"
  [ "$expected" -eq 0 ] && return "$status"
  return 0
}

# A new file for a Wine call's standard error.
wine_log_file() {
  local folder=${KELVANE_WINE_LOGS:-${TMPDIR:-/tmp}}
  mkdir -p "$folder" && mktemp "$folder/kelvane-wine.XXXXXX" || { echo "wine: cannot make a log file in $folder" >&2; return 1; }
}

# Prints why a Wine call failed: wine_report LOG STATUS STARTED-NS COMMAND...
wine_report() {
  local log=$1 status=$2 started=$3
  shift 3
  {
    printf 'wine: %s\n' "$(printf '%q ' "$@")"
    printf 'wine:   ended with exit code %d after %d ms (WINEPREFIX=%s)\n' "$status" \
      $(( ($(date +%s%N) - started) / 1000000 )) "${WINEPREFIX:-~/.wine}"
    if [ -s "$log" ]; then
      printf 'wine:   the last lines it wrote to standard error (all of them: %s):\n' "$log"
      tail -n 20 "$log" | sed 's/^/    /'
    else
      printf 'wine:   it wrote nothing to standard error\n'
      rm -f "$log"
    fi
  } >&2
}

# Starts a private Xvfb display and exports DISPLAY; the caller stops it with stop_private_display.
# Xvfb picks a free display number itself and tells it once it takes connections, so two runs
# side by side never take the same one. KELVANE_SCREEN_SIZE sets its size (default 1024x768).
start_private_display() {
  local told number log
  told=$(mktemp /tmp/kelvane-display.XXXXXX) && log=$(mktemp /tmp/kelvane-xvfb.XXXXXX) ||
    { echo "cannot make a temporary file for Xvfb" >&2; return 1; }
  Xvfb -displayfd 3 -screen 0 "${KELVANE_SCREEN_SIZE:-1024x768}x24" -nolisten tcp 3>"$told" >/dev/null 2>"$log" &
  XVFB_PID=$!
  for _ in $(seq 100); do
    number=$(head -n 1 "$told")
    if [ -n "$number" ]; then
      rm -f "$told" "$log"
      export DISPLAY=":$number"
      return 0
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "could not start Xvfb; it said:" >&2
  sed 's/^/    /' "$log" >&2
  rm -f "$told" "$log"
  return 1
}

stop_private_display() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}

# --- Prefixes ----------------------------------------------------------------------------------
# Every prefix is made the same way: its folder first, then its own Wine server, started and held
# before anything else runs in it (a server started on a folder that does not exist yet refuses to
# run, and one started by a Wine program ends a few seconds after its last client, so the next
# start may meet it shutting down); then the boot, checked; then every setting of the run in one
# registry import, read back from the registry files the server writes when it stops; then the
# server held again, now reading those settings, until prefix_stop or prefix_remove.
#
# A prefix booted once can be copied instead of booted again: KELVANE_PREFIX_TEMPLATE names such a
# prefix, whose server has stopped. Otherwise booting takes a lock, so that two prefixes never boot
# side by side on one machine (a first boot builds Wine's caches).
#
# Where KELVANE_DESKTOP_KEEPER names the test suite's desktop keeper, a prefix made also holds its
# desktop, and with it Wine's system processes, for as long as the prefix lives. Otherwise Wine
# ends the desktop a moment after its last window, and the next program starts it again: that
# start joins whatever job the program runs in, and inherits its output.

# Holds the server of the prefix named by WINEPREFIX until it is stopped (prefix_stop), or, given
# a number of seconds, until that long after its last program ended.
prefix_hold() {
  wine_run "$WINESERVER" "-p${1:-}" || { echo "prefix: the Wine server of $WINEPREFIX did not start" >&2; return 1; }
  # A second persistent start ends at once with code 2 when a server holds the prefix.
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  [ $? -eq 2 ] || { echo "prefix: no Wine server holds $WINEPREFIX after it started" >&2; return 1; }
}

# Stops the server of the prefix named by WINEPREFIX, and everything running in it, and waits for
# its end, when the registry files have been written.
prefix_stop() {
  "$WINESERVER" -k </dev/null >/dev/null 2>&1
  timeout 60 "$WINESERVER" -w </dev/null >/dev/null 2>&1
  [ $? -ne 124 ] || { echo "prefix: the Wine server of $WINEPREFIX did not end within a minute" >&2; return 1; }
  wine_end_processes_in "$WINEPREFIX"
}

# Ends every process whose Wine prefix is FOLDER or lies inside it. A Wine process that was being
# started while its server stopped never reached the server, so the server could not end it: it
# would wait for it for ever, holding whatever it inherited.
wine_end_processes_in() {
  local folder pid prefix program ended=()
  folder=$(realpath -m "$1")
  for pid in $(pgrep -u "$(id -u)" .); do
    # Wine's own programs only: the scripts that made the prefix share its name in their environment.
    program=$(readlink "/proc/$pid/exe" 2>/dev/null) && [[ $program == "$(dirname "$WINE64")"/* ]] || continue
    prefix=$(tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | sed -n 's/^WINEPREFIX=//p')
    [ -n "$prefix" ] || continue
    prefix=$(realpath -m "$prefix")
    [ "$prefix" = "$folder" ] || [[ $prefix == "$folder"/* ]] || continue
    ended+=("$(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline")")
    kill -KILL "$pid" 2>/dev/null
  done
  [ ${#ended[@]} -eq 0 ] && return 0
  printf 'prefix: ended what outlived the Wine server of %s: %s\n' "$folder" "${ended[*]}" >&2
}

# Boots the prefix named by WINEPREFIX, whose folder exists and whose server is held; checks that
# it is complete. Debian's wine64 comes without Wine's 32-bit half, yet wineboot still starts the
# 32-bit rundll32 for the prefix's 32-bit side; that start fails and says so on standard error,
# and Kelvane, a 64-bit program, needs nothing from that side.
prefix_boot() {
  local lock="${TMPDIR:-/tmp}/kelvane-wine-boot-$(id -u).lock"
  (
    flock 9 || { echo "prefix: cannot take the boot lock $lock" >&2; exit 1; }
    # Not handed on: the processes the boot leaves running would hold the lock.
    wine_run "$WINE64" wineboot --init >/dev/null 9>&-
  ) 9>>"$lock" || return 1
  local part
  for part in .update-timestamp drive_c/windows/system32/kernel32.dll dosdevices/c:; do
    [ -e "$WINEPREFIX/$part" ] || { echo "prefix: $WINEPREFIX is not complete after its boot: no $part" >&2; return 1; }
  done
}

# The registry lines of one setting (dpi=N, palette=NAME), as a .reg file gives them.
prefix_setting_lines() {
  local name colour
  case $1 in
    dpi=*)
      [[ ${1#dpi=} =~ ^[0-9]+$ ]] || { echo "prefix: not a dpi: ${1#dpi=}" >&2; return 1; }
      for name in 'HKEY_CURRENT_USER\Control Panel\Desktop' \
                  'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
        printf '[%s]\r\n"LogPixels"=dword:%08x\r\n\r\n' "$name" "${1#dpi=}"
      done ;;
    palette=*)
      printf '[HKEY_CURRENT_USER\\Control Panel\\Colors]\r\n'
      prefix_palette "${1#palette=}" | while IFS='=' read -r name colour; do
        printf '"%s"="%s"\r\n' "$name" "$colour"
      done
      [ "${PIPESTATUS[0]}" -eq 0 ] || return 1
      printf '\r\n' ;;
    *) echo "prefix: unknown setting $1" >&2; return 1 ;;
  esac
}

# Windows' high-contrast schemes, HighContrastBlack and HighContrastWhite, one NAME=R G B a line.
prefix_palette() {
  case $1 in
    HighContrastBlack) printf '%s\n' "Window=0 0 0" "WindowText=255 255 255" "ButtonFace=0 0 0" \
      "ButtonText=255 255 255" "Hilight=26 235 255" "HilightText=0 0 0" "GrayText=63 242 63" \
      "HotTrackingColor=255 255 0" "InfoWindow=0 0 0" "InfoText=255 255 255" "Menu=0 0 0" \
      "MenuText=255 255 255" "MenuBar=0 0 0" "MenuHilight=26 235 255" "ButtonShadow=128 128 128" \
      "ButtonHilight=255 255 255" "ButtonLight=192 192 192" "ButtonDkShadow=255 255 255" \
      "WindowFrame=255 255 255" "ActiveTitle=0 0 0" "TitleText=255 255 255" "InactiveTitle=0 0 0" \
      "InactiveTitleText=63 242 63" "ActiveBorder=0 0 0" "InactiveBorder=0 0 0" "Background=0 0 0" ;;
    HighContrastWhite) printf '%s\n' "Window=255 255 255" "WindowText=0 0 0" "ButtonFace=255 255 255" \
      "ButtonText=0 0 0" "Hilight=55 0 110" "HilightText=255 255 255" "GrayText=96 0 0" \
      "HotTrackingColor=0 0 159" "InfoWindow=255 255 255" "InfoText=0 0 0" "Menu=255 255 255" \
      "MenuText=0 0 0" "MenuBar=255 255 255" "MenuHilight=55 0 110" "ButtonShadow=128 128 128" \
      "ButtonHilight=0 0 0" "ButtonLight=192 192 192" "ButtonDkShadow=0 0 0" "WindowFrame=0 0 0" \
      "ActiveTitle=255 255 255" "TitleText=0 0 0" "InactiveTitle=255 255 255" "InactiveTitleText=96 0 0" \
      "ActiveBorder=255 255 255" "InactiveBorder=255 255 255" "Background=255 255 255" ;;
    *) echo "prefix: unknown palette $1" >&2; return 1 ;;
  esac
}

# The value NAME of the key KEY (as the file writes it: "Control Panel\\Desktop") in a registry
# file of a prefix whose server has stopped, as the file writes it: "0 0 0", dword:00000090.
prefix_file_value() {
  # Through the environment: awk -v would take the backslashes for escapes.
  section="[$2]" name="\"$3\"=" awk '
    /^\[/ { inside = (index($0, ENVIRON["section"]) == 1) }
    inside && index($0, ENVIRON["name"]) == 1 {
      value = substr($0, length(ENVIRON["name"]) + 1); gsub(/^"|"$/, "", value); print value; exit
    }' "$1"
}

# Writes the settings into the prefix named by WINEPREFIX, whose server is held, in one import;
# stops the server and reads each value of the import back from the registry files it wrote.
prefix_apply() {
  local file setting
  [ $# -gt 0 ] || return 0
  file="$WINEPREFIX/drive_c/kelvane-settings.reg"
  (
    printf 'REGEDIT4\r\n\r\n'
    for setting in "$@"; do prefix_setting_lines "$setting" || exit 1; done
  ) >"$file" || return 1
  wine_run "$WINE64" reg import 'C:\kelvane-settings.reg' >/dev/null ||
    { echo "prefix: the settings $* were not imported into $WINEPREFIX" >&2; return 1; }
  prefix_stop && prefix_check_import "$file" || return 1
  rm -f "$file"
}

# Compares every value of the .reg file FILE with what the registry files of the prefix named by
# WINEPREFIX hold: the machine's keys in system.reg, the user's in user.reg, which double the
# backslashes of a key's name and write a value as the .reg file does.
prefix_check_import() {
  local line registry key name expected value
  while IFS= read -r line; do
    line=${line%$'\r'}
    case $line in
      '[HKEY_CURRENT_USER\'*) registry=user.reg key=${line#'[HKEY_CURRENT_USER\'} key=${key%]} ;;
      '[HKEY_LOCAL_MACHINE\'*) registry=system.reg key=${line#'[HKEY_LOCAL_MACHINE\'} key=${key%]} ;;
      '"'*)
        name=${line%%=*} expected=${line#*=}
        name=${name//\"/} expected=${expected#\"} expected=${expected%\"}
        value=$(prefix_file_value "$WINEPREFIX/$registry" "${key//\\/\\\\}" "$name")
        [ "$value" = "$expected" ] ||
          { echo "prefix: $name under $key reads \"$value\", not \"$expected\", in $WINEPREFIX" >&2; return 1; }
        ;;
    esac
  done <"$1"
}

# Starts the desktop keeper (KELVANE_DESKTOP_KEEPER) in the prefix named by WINEPREFIX, detached
# from every pipe, and waits until it says it holds the desktop.
prefix_keep_desktop() {
  local said="$WINEPREFIX/desktop-keeper.out" pid
  "$WINE64" "$KELVANE_DESKTOP_KEEPER" </dev/null >"$said" 2>"$WINEPREFIX/desktop-keeper.err" &
  pid=$!
  for _ in $(seq 300); do
    grep -q "holding the desktop" "$said" && return 0
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      echo "prefix: the desktop keeper ended with exit code $? before it held the desktop of $WINEPREFIX; it said:" >&2
      sed 's/^/    /' "$WINEPREFIX/desktop-keeper.err" >&2
      return 1
    fi
    sleep 0.1
  done
  echo "prefix: the desktop keeper did not hold the desktop of $WINEPREFIX within 30 s" >&2
  return 1
}

# Makes the prefix named by WINEPREFIX, which must not exist yet, with the settings given
# (dpi=N, palette=NAME), and leaves its server held (and its desktop, with KELVANE_DESKTOP_KEEPER).
prefix_make() {
  [ ! -e "$WINEPREFIX" ] || { echo "prefix: $WINEPREFIX exists already" >&2; return 1; }
  if [ -n "${KELVANE_PREFIX_TEMPLATE:-}" ]; then
    # Debian's Wine notes beside the registry where the server's socket is; a copy finds its own.
    cp -a "$KELVANE_PREFIX_TEMPLATE" "$WINEPREFIX" && rm -f "$WINEPREFIX/wineserver" ||
      { echo "prefix: cannot copy $KELVANE_PREFIX_TEMPLATE to $WINEPREFIX" >&2; return 1; }
    prefix_hold || return 1
  else
    mkdir -p "$WINEPREFIX" || { echo "prefix: cannot make the folder $WINEPREFIX" >&2; return 1; }
    prefix_hold && prefix_boot || return 1
  fi
  if [ $# -gt 0 ]; then
    prefix_apply "$@" && prefix_hold || return 1
  fi
  if [ -n "${KELVANE_DESKTOP_KEEPER:-}" ]; then
    prefix_keep_desktop || return 1
  fi
}

# Makes the prefix named by WINEPREFIX to be copied by prefix_make (KELVANE_PREFIX_TEMPLATE): booted,
# its server stopped, so its registry files are complete and nothing writes into it any more.
prefix_make_template() {
  KELVANE_PREFIX_TEMPLATE= KELVANE_DESKTOP_KEEPER= prefix_make || return 1
  prefix_stop
  local part
  for part in system.reg user.reg; do
    [ -s "$WINEPREFIX/$part" ] || { echo "prefix: $WINEPREFIX has no $part after its server stopped" >&2; return 1; }
  done
}

# Stops the server of the prefix named by WINEPREFIX and removes the prefix, whatever state it is in.
prefix_remove() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  [ -d "$WINEPREFIX" ] && prefix_stop
  rm -rf "$WINEPREFIX" || { echo "prefix: cannot remove $WINEPREFIX" >&2; return 1; }
}
