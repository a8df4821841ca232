#!/usr/bin/env bash
# Runs the shortcut window's end-to-end tests alone, in a build folder, Wine prefix and Xvfb of
# their own: builds into build/win-scwin (skip with --no-build), then runs e2e.ShortcutWindow*
# under Wine. Extra arguments go to ctest. Screenshots (failures, and the window's picture)
# land in build/shots-scwin.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build_dir=${VIZ_SCWIN_BUILD_DIR:-build/win-scwin}

build=1
if [ "${1:-}" = --no-build ]; then
  build=0
  shift
fi
if [ "$build" = 1 ]; then
  cmake -S . -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
  cmake --build "$build_dir" -j"${VIZ_JOBS:-2}" --target vizmoria e2e_tests
fi

export VIZ_WINEPREFIX=${VIZ_WINEPREFIX:-$root/build/wineprefix-scwin}
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh

viz_wine_stop
cleanup() {
  viz_wine_stop
  wineserver -w >/dev/null 2>&1 || true
  viz_xvfb_stop
}
trap cleanup EXIT
viz_xvfb_start
viz_prefix_init

export VIZ_SHOT_DIR=${VIZ_SHOT_DIR:-$root/build/shots-scwin}
mkdir -p "$VIZ_SHOT_DIR"
echo "== shortcut window end-to-end tests (screenshots go to $VIZ_SHOT_DIR)"
ctest --test-dir "$build_dir" -R '^e2e\.ShortcutWindow' --output-on-failure "$@"
