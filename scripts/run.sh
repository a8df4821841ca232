#!/usr/bin/env bash
# Installs what is missing, builds vizmoria.exe and starts it under Wine: the x64 program, which
# 64-bit Wine runs on every host, or with --arch x86 the 32-bit one where the host can execute
# 32-bit code. With no $DISPLAY it runs on a private Xvfb, saves a screenshot
# (build/vizmoria-screenshot.png) and stops again.
#
# The program speaks the caller's language: Japanese where the caller's locale (LC_ALL, else
# LC_MESSAGES, else LANG) is Japanese, English otherwise; --lang ja|en chooses instead.
#   bash scripts/run.sh [--arch x86|x64] [--lang ja|en]
set -euo pipefail
cd "$(dirname "$0")/.."
# The caller's own locale, before wine-env.sh sets the one Wine runs under.
caller_locale=${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}
case $caller_locale in
  ja|ja_*|ja.*) lang=ja ;;
  *) lang=en ;;
esac
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh
arch=
viz_program_options "$@" || exit 2
bash scripts/install-deps.sh
[ -n "$arch" ] || arch=$(viz_default_arch)
if ! viz_arch_runnable "$arch"; then
  echo "run: cannot start the $arch program: $VIZ_ARCH_WHY" >&2
  exit 1
fi
viz_use_arch "$arch"
bash scripts/build.sh --arch "$arch" --target vizmoria

headless=0
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  viz_wine_stop
  viz_xvfb_start
  trap 'viz_wine_stop; viz_xvfb_stop' EXIT
fi
viz_prefix_init

rundir=build/run-$arch
mkdir -p "$rundir"
cp "$VIZ_WIN_BUILD/vizmoria.exe" "$rundir/"
if [ "$headless" = 0 ]; then
  echo "starting the $arch vizmoria ($LC_ALL) on $DISPLAY (settings in $rundir/vizmoria.bin)"
  exec "$VIZ_WINE" "$rundir/vizmoria.exe"
fi

"$VIZ_WINE" "$rundir/vizmoria.exe" &
pid=$!
# The Wine desktop is one X window, so the program's own window cannot be seen from X: give
# Wine time to start the desktop and the program, then move the pointer and let a few capture
# cycles run.
shot=build/vizmoria-screenshot.png
sleep 8
xdotool mousemove 150 150 >/dev/null 2>&1 || true
sleep 3
import -window root "$shot"
echo "screenshot of the $arch program ($LC_ALL) saved: $PWD/$shot"
kill "$pid" 2>/dev/null || true
