#!/usr/bin/env bash
# The "desktops" tier: end-to-end tests of one architecture's program on desktops other than the
# standard one, each in a Wine prefix set up for it:
#   two-monitors  primary 1280x800 at (0,0) and a 1024x768 monitor left of it at (-1024,0)
#                 (Xephyr with two Xinerama screens, no Wine virtual desktop); suite TwoMonitorTest
#   dpi144        the standard 1280x800 virtual desktop at 144 DPI; suite HighDpiTest
#   bash scripts/test-desktops.sh x64|x86 [ctest arguments]      (after a build)
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
arch=${1:?usage: test-desktops.sh x86|x64 [ctest arguments]}
shift
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh

rc=0
run() {  # run DESKTOP SUITE [ctest arguments]
  local desk=$1 suite=$2
  shift 2
  viz_use_arch "$arch" "$desk"
  viz_wine_stop
  if [ "$desk" = two-monitors ]; then viz_xephyr_start; else viz_xvfb_start; fi
  viz_prefix_init
  export VIZ_SHOT_DIR=$root/build/shots-$arch-$desk
  mkdir -p "$VIZ_SHOT_DIR"
  echo "== desktops $arch: $desk (failure screenshots go to build/shots-$arch-$desk)"
  local start=$SECONDS
  ctest --test-dir "$VIZ_WIN_BUILD" --output-on-failure --timeout 600 -R "^e2e\.$suite\." "$@" || rc=1
  echo "== desktops $arch: $desk took $((SECONDS - start)) s"
  viz_wine_stop
  viz_xephyr_stop
}
run two-monitors TwoMonitorTest "$@"
run dpi144 HighDpiTest "$@"
exit $rc
