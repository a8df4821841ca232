# Sourced by the run, test and bench scripts: which Windows architectures this host can run, a
# private Wine prefix per architecture (virtual desktop, Japanese Gothic font mapped), and (when
# asked) a private Xvfb display.
#
#   viz_arch_runnable ARCH   0 when Wine can run ARCH (x86 or x64) here; else VIZ_ARCH_WHY says why
#   viz_use_arch ARCH [DESK] exports VIZ_ARCH, VIZ_WINE (the loader), WINELOADER, WINEARCH,
#                            WINEPREFIX and VIZ_WIN_BUILD (the build folder of that architecture);
#                            DESK picks a prefix set up for another desktop: two-monitors (no
#                            virtual desktop, the second X screen primary) or dpi144
#   viz_default_arch         prints x64 when it runs here, else x86
# shellcheck shell=bash

VIZ_ROOT=${VIZ_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export LC_ALL=${VIZ_LOCALE:-ja_JP.UTF-8}

VIZ_WINE32=/usr/lib/wine/wine
VIZ_WINE64=/usr/lib/wine/wine64

viz_loader_of() {
  case $1 in
    x86) echo "$VIZ_WINE32" ;;
    x64) echo "$VIZ_WINE64" ;;
    *) echo "unknown architecture '$1' (x86 or x64)" >&2; return 2 ;;
  esac
}

# Some hosts cannot execute 32-bit x86 code at all (no ia32 emulation in the kernel): the 32-bit
# loader then fails with "Exec format error". Asking the loader for its version tells, in a few
# milliseconds, without a prefix.
viz_arch_runnable() {
  local loader out
  loader=$(viz_loader_of "$1") || return 2
  VIZ_ARCH_WHY=
  if [ ! -e "$loader" ]; then
    VIZ_ARCH_WHY="$loader is not installed"
    return 1
  fi
  if ! out=$(LC_ALL=C; "$loader" --version 2>&1); then
    out=$(printf '%s' "$out" | tail -n 1)
    VIZ_ARCH_WHY="this host cannot execute $loader (${out##*"$loader": })"
    return 1
  fi
  return 0
}

viz_default_arch() {
  if viz_arch_runnable x64; then echo x64; else echo x86; fi
}

viz_use_arch() {
  local arch=$1
  VIZ_WINE=$(viz_loader_of "$arch") || return 2
  VIZ_DESKTOP=${2:-}
  case $VIZ_DESKTOP in ''|two-monitors|dpi144) ;; *) echo "unknown desktop '$VIZ_DESKTOP'" >&2; return 2 ;; esac
  export VIZ_ARCH=$arch VIZ_WINE VIZ_DESKTOP
  # The loader that Wine itself starts for new processes of this prefix.
  export WINELOADER=$VIZ_WINE
  if [ "$arch" = x86 ]; then export WINEARCH=win32; else export WINEARCH=win64; fi
  export WINEPREFIX=${VIZ_WINEPREFIX:-$VIZ_ROOT/build/wineprefix}-$arch${VIZ_DESKTOP:+-$VIZ_DESKTOP}
  export VIZ_WIN_BUILD=$VIZ_ROOT/build/win-$arch
}

viz_wine() { "$VIZ_WINE" "$@"; }

# Creates the prefix once (marked by .viz-ready): a virtual desktop of 1280x800 and the Japanese
# Gothic font in place of the Windows fonts the program and its dialogs ask for.
viz_prefix_init() {
  if [ ! -f "$WINEPREFIX/.viz-ready" ]; then
    echo "wine: creating $WINEARCH prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    viz_wine wineboot -i >/dev/null 2>&1
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
    case ${VIZ_DESKTOP:-} in
      two-monitors)
        # Every X screen a monitor of its own (no virtual desktop); the second one, right of the
        # first, is the primary, so the first lies at negative coordinates.
        cat >> "$reg" <<'REG'

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"=-

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"PrimaryMonitor"="1"
REG
        ;;
      dpi144)
        cat >> "$reg" <<'REG'

[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:00000090
REG
        ;;
    esac
    viz_wine regedit "$reg" >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.viz-ready"
  fi
}

# Applies a .reg file to the current prefix and waits until Wine has written it.
viz_prefix_apply() {
  viz_wine regedit "$1" >/dev/null 2>&1
  wineserver -w
}

# The display number an X server started with -displayfd wrote to FILE (waited for up to 10 s);
# the file is removed.
viz_display_of() {
  local i
  for i in $(seq 1 100); do
    [ -s "$1" ] && break
    sleep 0.1
  done
  head -n1 "$1"
  rm -f "$1"
}

# Starts a private Xvfb and exports DISPLAY; VIZ_XVFB_PID holds its PID. Optional argument: the
# screen geometry (default 1280x800x24).
viz_xvfb_start() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${1:-1280x800x24}" -nolisten tcp -ac 3>"$fdfile" >/dev/null 2>&1 &
  VIZ_XVFB_PID=$!
  export DISPLAY=":$(viz_display_of "$fdfile")"
  echo "xvfb: DISPLAY=$DISPLAY (pid $VIZ_XVFB_PID)"
}

# Two monitors for the program: a nested Xephyr with two screens joined by Xinerama (RandR off,
# so that Wine sees each screen as a monitor), inside a private Xvfb large enough to hold it.
# Exports DISPLAY (Xephyr's); VIZ_XEPHYR_PID holds its PID. Stop with viz_xephyr_stop.
viz_xephyr_start() {
  viz_xvfb_start 2560x1000x24
  local fdfile
  fdfile=$(mktemp)
  Xephyr -displayfd 3 +xinerama -extension RANDR -screen 1024x768 -screen 1280x800 \
    -nolisten tcp -ac 3>"$fdfile" >/dev/null 2>&1 &
  VIZ_XEPHYR_PID=$!
  export DISPLAY=":$(viz_display_of "$fdfile")"
  echo "xephyr: DISPLAY=$DISPLAY (pid $VIZ_XEPHYR_PID), screens 1024x768 and 1280x800"
}

viz_xephyr_stop() {
  if [ -n "${VIZ_XEPHYR_PID:-}" ]; then
    kill "$VIZ_XEPHYR_PID" 2>/dev/null || true
    wait "$VIZ_XEPHYR_PID" 2>/dev/null || true
    VIZ_XEPHYR_PID=
  fi
  viz_xvfb_stop
}

viz_xvfb_stop() {
  if [ -n "${VIZ_XVFB_PID:-}" ]; then
    kill "$VIZ_XVFB_PID" 2>/dev/null || true
    wait "$VIZ_XVFB_PID" 2>/dev/null || true
    VIZ_XVFB_PID=
  fi
}

# Ends every Wine process of the current prefix (and only of it), and waits until its server is
# gone: a server still going away when the next session starts can leave that session's first
# program without a server to talk to.
viz_wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
  timeout 30 wineserver -w >/dev/null 2>&1 || true
}
