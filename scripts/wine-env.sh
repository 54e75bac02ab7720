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

# Sets the system colours of the prefix named by WINEPREFIX to one of Windows' high-contrast
# schemes, HighContrastBlack or HighContrastWhite; the Wine server started next reads them.
set_prefix_palette() {
  local colours name
  case $1 in
    HighContrastBlack)
      colours=("Window=0 0 0" "WindowText=255 255 255" "ButtonFace=0 0 0" "ButtonText=255 255 255"
               "Hilight=26 235 255" "HilightText=0 0 0" "GrayText=63 242 63" "HotTrackingColor=255 255 0"
               "InfoWindow=0 0 0" "InfoText=255 255 255" "Menu=0 0 0" "MenuText=255 255 255" "MenuBar=0 0 0"
               "MenuHilight=26 235 255" "ButtonShadow=128 128 128" "ButtonHilight=255 255 255"
               "ButtonLight=192 192 192" "ButtonDkShadow=255 255 255" "WindowFrame=255 255 255"
               "ActiveTitle=0 0 0" "TitleText=255 255 255" "InactiveTitle=0 0 0" "InactiveTitleText=63 242 63"
               "ActiveBorder=0 0 0" "InactiveBorder=0 0 0" "Background=0 0 0") ;;
    HighContrastWhite)
      colours=("Window=255 255 255" "WindowText=0 0 0" "ButtonFace=255 255 255" "ButtonText=0 0 0"
               "Hilight=55 0 110" "HilightText=255 255 255" "GrayText=96 0 0" "HotTrackingColor=0 0 159"
               "InfoWindow=255 255 255" "InfoText=0 0 0" "Menu=255 255 255" "MenuText=0 0 0" "MenuBar=255 255 255"
               "MenuHilight=55 0 110" "ButtonShadow=128 128 128" "ButtonHilight=0 0 0"
               "ButtonLight=192 192 192" "ButtonDkShadow=0 0 0" "WindowFrame=0 0 0"
               "ActiveTitle=255 255 255" "TitleText=0 0 0" "InactiveTitle=255 255 255" "InactiveTitleText=96 0 0"
               "ActiveBorder=255 255 255" "InactiveBorder=255 255 255" "Background=255 255 255") ;;
    *) return 1 ;;
  esac
  for name in "${colours[@]}"; do
    "$WINE64" reg add 'HKCU\Control Panel\Colors' /v "${name%%=*}" /t REG_SZ /d "${name#*=}" /f </dev/null >/dev/null 2>&1 ||
      return 1
  done
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
