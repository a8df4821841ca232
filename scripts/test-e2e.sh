#!/usr/bin/env bash
# Runs the end-to-end tier alone: builds the Windows programs into build/win-e2e (skip with
# --no-build), then runs the e2e tests under Wine on a private Xvfb with a prefix of their own.
# Extra arguments go to ctest (for example -R e2e.ShellTest). Failure screenshots land in
# build/shots-e2e.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build_dir=${VIZ_E2E_BUILD_DIR:-build/win-e2e}

build=1
if [ "${1:-}" = --no-build ]; then
  build=0
  shift
fi
if [ "$build" = 1 ]; then
  cmake -S . -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
  cmake --build "$build_dir" -j"${VIZ_JOBS:-2}"
fi

export VIZ_WINEPREFIX=${VIZ_WINEPREFIX:-$root/build/wineprefix-e2e}
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh

# A wineserver of this prefix left from a run without a display breaks the next one.
viz_wine_stop
cleanup() {
  viz_wine_stop
  wineserver -w >/dev/null 2>&1 || true
  viz_xvfb_stop
}
trap cleanup EXIT
viz_xvfb_start
viz_prefix_init

export VIZ_SHOT_DIR=${VIZ_SHOT_DIR:-$root/build/shots-e2e}
mkdir -p "$VIZ_SHOT_DIR"
echo "== end-to-end tests (failure screenshots go to $VIZ_SHOT_DIR)"
ctest --test-dir "$build_dir" -R "${VIZ_E2E_FILTER:-^e2e\.}" --output-on-failure "$@"
