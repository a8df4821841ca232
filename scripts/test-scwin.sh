#!/usr/bin/env bash
# Runs the shortcut window's end-to-end tests alone, in a build folder, Wine prefix and Xvfb of
# their own (build/win-scwin, build/wineprefix-scwin, screenshots in build/shots-scwin). Skip the
# build with --no-build; extra arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export VIZ_E2E_BUILD_DIR=${VIZ_SCWIN_BUILD_DIR:-build/win-scwin}
export VIZ_WINEPREFIX=${VIZ_WINEPREFIX:-$root/build/wineprefix-scwin}
export VIZ_SHOT_DIR=${VIZ_SHOT_DIR:-$root/build/shots-scwin}
export VIZ_E2E_FILTER='^e2e\.ShortcutWindow'
exec bash "$root/scripts/test-e2e.sh" "$@"
