# Sourced by the scripts that run Kelvane under Wine.
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=${WINEDEBUG:--all}
# No Gecko or Mono installer prompts: Kelvane needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Starts a private Xvfb display and exports DISPLAY; the caller stops it with stop_private_display.
# Xvfb picks a free display number itself and tells it once it takes connections, so two runs
# side by side never take the same one. KELVANE_SCREEN_SIZE sets its size (default 1024x768).
start_private_display() {
  local told number
  told=$(mktemp /tmp/kelvane-display.XXXXXX) || { echo "cannot make a temporary file for Xvfb" >&2; return 1; }
  Xvfb -displayfd 3 -screen 0 "${KELVANE_SCREEN_SIZE:-1024x768}x24" -nolisten tcp 3>"$told" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    number=$(head -n 1 "$told")
    if [ -n "$number" ]; then
      rm -f "$told"
      export DISPLAY=":$number"
      return 0
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$told"
  echo "could not start Xvfb" >&2
  return 1
}

stop_private_display() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}

# Creates the prefix named by WINEPREFIX when it does not exist yet and keeps its server and
# system processes running. They start here, detached from any pipe: a system process that
# inherited a caller's output pipe would keep that caller waiting for its end.
prepare_prefix() {
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  "$WINE64" wineboot --init </dev/null >/dev/null 2>&1
}

# Sets the display scale of the prefix named by WINEPREFIX: 96 is 100 %, 120 125 %, 144 150 %,
# 192 200 %. Programs started from then on see it.
set_prefix_dpi() {
  local key
  for key in 'HKCU\Control Panel\Desktop' \
             'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    "$WINE64" reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1 || return 1
  done
}
