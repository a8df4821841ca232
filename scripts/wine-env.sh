# Sourced by the run and test scripts: a private 32-bit Wine prefix with a virtual desktop and the
# Japanese Gothic font mapped, and (when asked) a private Xvfb display.
# shellcheck shell=bash

VIZ_ROOT=${VIZ_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEARCH=win32
export WINEPREFIX=${VIZ_WINEPREFIX:-$VIZ_ROOT/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export LC_ALL=${VIZ_LOCALE:-ja_JP.UTF-8}

viz_prefix_init() {
  if [ ! -f "$WINEPREFIX/.viz-ready" ]; then
    echo "wine: creating prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    local reg="$WINEPREFIX/viz-setup.reg"
    cat > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1280x800"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS Gothic"="IPAGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS UI Gothic"="IPAGothic"
"MS Shell Dlg"="IPAGothic"
"MS Shell Dlg 2"="IPAGothic"
REG
    wine regedit "$reg" >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.viz-ready"
  fi
}

# Starts a private Xvfb and exports DISPLAY; VIZ_XVFB_PID holds its PID.
viz_xvfb_start() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -ac 3>"$fdfile" >/dev/null 2>&1 &
  VIZ_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
  echo "xvfb: DISPLAY=$DISPLAY (pid $VIZ_XVFB_PID)"
}

viz_xvfb_stop() {
  if [ -n "${VIZ_XVFB_PID:-}" ]; then
    kill "$VIZ_XVFB_PID" 2>/dev/null || true
    wait "$VIZ_XVFB_PID" 2>/dev/null || true
    VIZ_XVFB_PID=
  fi
}

viz_wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
}
