#!/usr/bin/env bash
# The "desktops" tier: end-to-end tests of one architecture's program on desktops other than the
# standard one, each in a Wine prefix set up for it:
#   two-monitors  primary 1280x800 at (0,0) and a 1024x768 monitor left of it at (-1024,0)
#                 (Xephyr with two Xinerama screens, no Wine virtual desktop); suite TwoMonitorTest
#   dpi144        the standard 1280x800 virtual desktop at 144 DPI; suite HighDpiTest, and every
#                 Win32 test (they create the program's windows in-process at that DPI)
#   bash scripts/test-desktops.sh x64|x86 [-R PATTERN] [ctest arguments]      (after a build)
# A -R pattern selects within each desktop's suite; VIZ_DESKTOP_ONLY=two-monitors (or dpi144)
# runs one desktop.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
arch=${1:?usage: test-desktops.sh x86|x64 [ctest arguments]}
shift
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh

rc=0
pattern=
if [ "${1:-}" = -R ]; then
  pattern=${2:-}
  shift 2
fi
run() {  # run DESKTOP SUITE [ctest arguments]
  local desk=$1 suite=$2 select
  shift 2
  select="^e2e\.$suite\..*($pattern)"
  # At 144 DPI the Win32 tier runs too, unless a pattern picks tests.
  [ "$desk" = dpi144 ] && [ -z "$pattern" ] && select="^(e2e\.$suite\..*|wine\.win32_tests)\$"
  viz_use_arch "$arch" "$desk"
  viz_wine_stop
  if [ "$desk" = two-monitors ]; then viz_xephyr_start; else viz_xvfb_start; fi
  viz_prefix_init
  export VIZ_SHOT_DIR=$root/build/shots-$arch-$desk
  mkdir -p "$VIZ_SHOT_DIR"
  echo "== desktops $arch: $desk (failure screenshots go to build/shots-$arch-$desk)"
  local start=$SECONDS
  ctest --test-dir "$VIZ_WIN_BUILD" --output-on-failure --timeout 600 -R "$select" "$@" || rc=1
  echo "== desktops $arch: $desk took $((SECONDS - start)) s"
  viz_wine_stop
  viz_xephyr_stop
}
only=${VIZ_DESKTOP_ONLY:-}
[ -z "$only" ] || [ "$only" = two-monitors ] && run two-monitors TwoMonitorTest "$@"
[ -z "$only" ] || [ "$only" = dpi144 ] && run dpi144 HighDpiTest "$@"
exit $rc
