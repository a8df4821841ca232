#!/usr/bin/env bash
# Pictures of the real windows for the documentation, from a fresh copy of the program (no
# settings file) under Wine on a private Xvfb: docs/vizmoria.png (the main window over the
# desktop), docs/setting-window-help.png (the version page, F1),
# docs/setting-window-settings.png (the settings page, Ctrl+Tab) and docs/shortcut-window.png
# (menu, Options, Shortcut keys). With --lang en the program runs where Windows' language is
# English and the pictures are named *-en.png.
#   bash scripts/shots.sh [--arch x86|x64] [--lang ja|en]    (after a build)
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh
arch=
lang=ja
viz_program_options "$@" || exit 2
suffix=
[ "$lang" = ja ] || suffix=-$lang
[ -n "$arch" ] || arch=$(viz_default_arch)
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
import -window root -crop 330x420+60+60 +repage "docs/vizmoria$suffix.png"
xdotool mousemove 900 600
xdotool key F1
sleep 2
import -window root -crop 700x440+60+60 +repage "docs/setting-window-help$suffix.png"
xdotool key ctrl+Tab
sleep 2
import -window root -crop 700x440+60+60 +repage "docs/setting-window-settings$suffix.png"
# Closed again; then the menu's Options submenu and its shortcut item, by their access keys.
xdotool key Escape
sleep 2
xdotool key m
sleep 1
xdotool key o
sleep 1
xdotool key k
sleep 3
# The window opens centred on the desktop, over the left part where the main window stands: its
# right half, alone on the desktop's colour, tells where it is.
full="$run_dir/desktop.png"
import -window root "$full"
read -r w h x y < <(convert "$full" -crop 640x800+640+0 +repage -fuzz 2% -format '%@\n' info: |
  sed 's/[x+]/ /g')
right=$((640 + x + w))
left=$((1280 - right))
convert "$full" -crop "$((right - left))x${h}+${left}+${y}" +repage "docs/shortcut-window$suffix.png"
echo "shots ($arch, $lang): docs/vizmoria$suffix.png docs/setting-window-help$suffix.png" \
  "docs/setting-window-settings$suffix.png docs/shortcut-window$suffix.png"
