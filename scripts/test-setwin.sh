#!/usr/bin/env bash
# Builds the Windows programs into build/win-setwin and runs the settings window's tests under
# Wine on a private Xvfb with a prefix of its own: the Win32 tier (win32_tests) and the
# end-to-end cases of the settings window. With --shots it instead opens both pages of the
# window in a fresh copy of the program and saves them as docs/setting-window-*.png.
# Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build_dir=${VIZ_SETWIN_BUILD_DIR:-build/win-setwin}

shots=0
if [ "${1:-}" = --shots ]; then
  shots=1
  shift
fi

cmake -S . -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build_dir" -j"${VIZ_JOBS:-2}"

export VIZ_WINEPREFIX=${VIZ_WINEPREFIX:-$root/build/wineprefix-setwin}
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh

run_dir=
app_pid=
viz_wine_stop
cleanup() {
  local rc=$?
  if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  viz_wine_stop
  wineserver -w >/dev/null 2>&1 || true
  viz_xvfb_stop
  if [ -n "$run_dir" ]; then rm -rf "$run_dir"; fi
  exit "$rc"
}
trap cleanup EXIT
viz_xvfb_start
viz_prefix_init

if [ "$shots" = 0 ]; then
  export VIZ_SHOT_DIR=${VIZ_SHOT_DIR:-$root/build/shots-setwin}
  mkdir -p "$VIZ_SHOT_DIR"
  ctest --test-dir "$build_dir" -R '^(wine\.win32_tests|e2e\.SettingWindow)' --output-on-failure "$@"
  exit
fi

# Screenshots: the program from a folder of its own (no settings file), the pointer out of the
# way, the version page by F1 and the settings page by Ctrl+Tab. Each window is cropped out of
# the desktop together with the main window beside it.
run_dir=$(mktemp -d)
cp "$build_dir/vizmoria.exe" "$run_dir/"
xdotool mousemove 900 600
wine "$run_dir/vizmoria.exe" >/dev/null 2>&1 &
app_pid=$!
sleep 6
xdotool key F1
sleep 2
import -window root -crop 700x440+60+60 +repage docs/setting-window-help.png
xdotool key ctrl+Tab
sleep 2
import -window root -crop 700x440+60+60 +repage docs/setting-window-settings.png
echo "shots: docs/setting-window-help.png docs/setting-window-settings.png"
