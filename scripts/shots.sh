#!/usr/bin/env bash
# Pictures of the real windows for the documentation, from a fresh copy of the program (no
# settings file) under Wine on a private Xvfb: docs/vizmoria.png (the main window over the
# desktop), docs/setting-window-help.png (the version page, F1) and
# docs/setting-window-settings.png (the settings page, Ctrl+Tab).
#   bash scripts/shots.sh [--arch x86|x64]    (after a build)
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh
arch=$(viz_default_arch)
if [ "${1:-}" = --arch ]; then arch=${2:?}; fi
viz_use_arch "$arch"

run_dir=$(mktemp -d)
app_pid=
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; wait "$app_pid" 2>/dev/null || true; fi
  viz_wine_stop
  viz_xvfb_stop
  rm -rf "$run_dir"
}
trap cleanup EXIT
viz_wine_stop
viz_xvfb_start
viz_prefix_init

cp "$VIZ_WIN_BUILD/vizmoria.exe" "$run_dir/"
xdotool mousemove 900 600
"$VIZ_WINE" "$run_dir/vizmoria.exe" >/dev/null 2>&1 &
app_pid=$!
sleep 6
xdotool mousemove 330 120
sleep 2
import -window root -crop 330x420+60+60 +repage docs/vizmoria.png
xdotool mousemove 900 600
xdotool key F1
sleep 2
import -window root -crop 700x440+60+60 +repage docs/setting-window-help.png
xdotool key ctrl+Tab
sleep 2
import -window root -crop 700x440+60+60 +repage docs/setting-window-settings.png
echo "shots ($arch): docs/vizmoria.png docs/setting-window-help.png docs/setting-window-settings.png"
