#!/usr/bin/env bash
# Builds and runs the capture-cycle benchmark (bench/, vizbench.exe) under Wine on a private Xvfb
# with a private Wine prefix. Prints figures; asserts nothing about time.
#   bash scripts/bench.sh [--arch x86|x64]   install what is missing, build, run (x64 where
#                                            it runs, which is every host, unless told)
#   VIZ_BENCH_NOBUILD=1 bash ...             run the vizbench.exe already built
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

export VIZ_WINEPREFIX=$root/build/wineprefix-bench
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh
[ "${VIZ_BENCH_NOBUILD:-0}" = 1 ] || bash scripts/install-deps.sh
arch=$(viz_default_arch)
if [ "${1:-}" = --arch ]; then arch=${2:?}; fi
viz_arch_runnable "$arch" || { echo "bench: cannot run $arch here: $VIZ_ARCH_WHY" >&2; exit 1; }
viz_use_arch "$arch"
[ "${VIZ_BENCH_NOBUILD:-0}" = 1 ] || bash scripts/build.sh --arch "$arch" --target vizbench vizmoria
exe=$VIZ_WIN_BUILD/vizbench.exe
[ -x "$exe" ] || { echo "bench: $exe is missing" >&2; exit 1; }

cleanup() {
  viz_wine_stop   # wineserver -k for this prefix only
  viz_xvfb_stop   # by PID
}
viz_wine_stop     # a wineserver left from a run without a display would break this one
viz_xvfb_start
trap cleanup EXIT
viz_prefix_init

echo "architecture: $arch (vizbench.exe built for $arch, run by $VIZ_WINE)"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')"
echo "load before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
"$VIZ_WINE" "$exe"
echo "load after the run: $(cut -d' ' -f1-3 /proc/loadavg)"
