#!/usr/bin/env bash
# Builds the Windows programs (vizmoria.exe, the test programs, the benchmark) with MinGW-w64.
#   bash scripts/build.sh [--arch x86|x64|all] [cmake --build arguments, e.g. --target vizmoria]
# x86 goes to build/win-x86, x64 to build/win-x64; the default is both.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${VIZ_JOBS:-$(nproc)}
archs=(x86 x64)
if [ "${1:-}" = --arch ]; then
  case ${2:-} in
    x86|x64) archs=("$2") ;;
    all) ;;
    *) echo "build.sh: --arch takes x86, x64 or all" >&2; exit 2 ;;
  esac
  shift 2
fi
for arch in "${archs[@]}"; do
  echo "== Windows build $arch (build/win-$arch)"
  cmake --preset "win-$arch" >/dev/null 2>&1 || cmake --preset "win-$arch"
  cmake --build --preset "win-$arch" -j"$jobs" "$@"
done
