#!/usr/bin/env bash
# Builds vizmoria.exe (and the Windows test programs) with MinGW-w64 into build/win.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${VIZ_JOBS:-$(nproc)}
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j"$jobs" "$@"
