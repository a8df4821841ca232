#!/usr/bin/env bash
# Builds and runs the capture-cycle benchmark (bench/, vizbench.exe) under Wine on a private Xvfb
# with a private Wine prefix. Prints figures; asserts nothing about time.
#   bash scripts/bench.sh             install what is missing, build, run
#   VIZ_BENCH_NOBUILD=1 bash ...      run the vizbench.exe already built in build/win
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ "${VIZ_BENCH_NOBUILD:-0}" != 1 ]; then
  bash scripts/install-deps.sh
  bash scripts/build.sh --target vizbench vizmoria
fi
exe=$root/build/win/vizbench.exe
[ -x "$exe" ] || { echo "bench: $exe is missing" >&2; exit 1; }

export VIZ_WINEPREFIX=$root/build/wineprefix-bench
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh

cleanup() {
  viz_wine_stop   # wineserver -k for this prefix only
  viz_xvfb_stop   # by PID
}
viz_wine_stop     # a wineserver left from a run without a display would break this one
viz_xvfb_start
trap cleanup EXIT
viz_prefix_init

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')"
echo "load before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
wine "$exe"
echo "load after the run: $(cut -d' ' -f1-3 /proc/loadavg)"
