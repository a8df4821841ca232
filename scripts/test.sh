#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test tier:
#   1. core unit tests natively (ASan/UBSan), the fuzz targets, and the same core tests under Wine;
#   2. Win32 tests that create the real windows in-process (Wine, private Xvfb);
#   3. end-to-end tests that start vizmoria.exe and drive it from outside.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${VIZ_JOBS:-$(nproc)}

bash scripts/install-deps.sh

echo "== native core (ASan/UBSan)"
cmake -S . -B build/native -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure -j"$jobs"

echo "== fuzz targets (libFuzzer)"
cmake -S . -B build/fuzz -DVIZ_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz -j"$jobs"
ctest --test-dir build/fuzz --output-on-failure

echo "== Windows build (MinGW-w64 i686)"
bash scripts/build.sh

# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh
export VIZ_WINEPREFIX=$WINEPREFIX
viz_wine_stop
viz_xvfb_start
trap 'viz_wine_stop; viz_xvfb_stop' EXIT
viz_prefix_init

export VIZ_SHOT_DIR=$root/build/shots
mkdir -p "$VIZ_SHOT_DIR"
echo "== Wine: core, Win32 and end-to-end tests (failure screenshots go to $VIZ_SHOT_DIR)"
ctest --test-dir build/win --output-on-failure --timeout 600
