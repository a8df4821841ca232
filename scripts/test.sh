#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test tier:
#   native     core unit tests natively, with AddressSanitizer and UBSan
#   fuzz       the libFuzzer targets over the parsers
#   windows    the Windows programs for x86 and x64 (both are always built)
#   wine-core  the core unit tests under Wine              } for each architecture this host can
#   win32      Win32 tests with real windows, in-process   } run (x64 always, x86 where 32-bit
#   e2e        vizmoria.exe started and driven from outside} code runs)
#   desktops   end to end on two monitors (one left of the primary) and at 144 DPI
#   english    the tests that read texts, again where Windows' language is English (and once
#              German): the Win32 tier and the end-to-end copies, windows and messages; run on
#              the first architecture that runs here
#   package    the release packages, unpacked and started
#
#   bash scripts/test.sh                          everything (the README's and CI's command)
#   bash scripts/test.sh --tier e2e -R Capture    one tier; arguments after it go to ctest
#   bash scripts/test.sh --arch x64 --tier win32  one architecture only
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${VIZ_JOBS:-$(nproc)}

tier=all
archs=(x64 x86)
while [ $# -gt 0 ]; do
  case $1 in
    --tier) tier=${2:-}; shift 2 ;;
    --arch) archs=("${2:-}"); shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
ctest_args=("$@")
case $tier in
  all|native|fuzz|windows|wine-core|win32|e2e|desktops|english|package) ;;
  *) echo "test.sh: unknown tier '$tier' (native fuzz windows wine-core win32 e2e desktops english package)" >&2
     exit 2 ;;
esac
for a in "${archs[@]}"; do
  case $a in x86|x64) ;; *) echo "test.sh: --arch takes x86 or x64" >&2; exit 2 ;; esac
done

bash scripts/install-deps.sh || exit 1
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh

failed=()
ran=()
logs=$root/build/logs
mkdir -p "$logs"
step() {  # step NAME COMMAND...: runs it, its output kept in build/logs/NAME.log; records a failure and goes on
  local name=$1
  shift
  if "$@" 2>&1 | tee "$logs/$name.log"; then ran+=("$name"); else failed+=("$name"); fi
}

# What a failed step's log says failed: the tests and the lines that tell why, else its last
# lines; so that the end of the whole output is enough to tell.
explain_failure() {
  local log=$logs/$1.log found
  echo "  -- $1 (whole output: build/logs/$1.log):"
  found=$(grep -E -A4 '\*\*\*(Failed|Timeout|Exception|Not Run)|^\[  FAILED  \] [A-Za-z]|: Failure$|error:|^test-[a-z]+:|^wine-run:|not run' "$log" |
    grep -vE '^--$|^ *$|^\[(==========|----------)\]|^Running main|^Note: Google Test filter|^\[  FAILED  \] [0-9]+ tests?, listed below|^\[ +(RUN|OK|PASSED|SKIPPED) +\]|^ +Start +[0-9]+:' |
    awk '!seen[$0]++' | head -n 40)
  if [ -n "$found" ]; then
    printf '%s\n' "$found" | sed 's/^/     /'
  else
    tail -n 8 "$log" | sed 's/^/     /'
  fi
}
wants() { [ "$tier" = all ] || [ "$tier" = "$1" ]; }

native_tier() {
  echo "== native core (ASan/UBSan)"
  cmake --preset native >/dev/null &&
    cmake --build --preset native -j"$jobs" &&
    ctest --preset native -j"$jobs" "${ctest_args[@]}"
}

fuzz_tier() {
  echo "== fuzz targets (libFuzzer)"
  cmake --preset fuzz >/dev/null &&
    cmake --build --preset fuzz -j"$jobs" &&
    ctest --preset fuzz "${ctest_args[@]}"
}

# Runs ctest in the build folder of the current architecture, under Wine on a private Xvfb, with
# a fresh Wine session; extra arguments select the tests.
wine_ctest() {
  local rc=0
  viz_wine_stop   # a wineserver left from a run without a display breaks this one
  viz_xvfb_start
  viz_prefix_init
  export VIZ_SHOT_DIR=$root/build/shots-$VIZ_ARCH
  mkdir -p "$VIZ_SHOT_DIR"
  ctest --test-dir "$VIZ_WIN_BUILD" --output-on-failure --timeout 600 "$@" || rc=$?
  viz_wine_stop
  viz_xvfb_stop
  return $rc
}

wine_tiers() {  # the tiers that run in the standard prefix, as one ctest selection
  local sel=() re
  wants wine-core && sel+=('wine\.core_tests')
  wants win32 && sel+=('wine\.win32_tests')
  wants e2e && sel+=('e2e\.')
  re="^($(IFS='|'; echo "${sel[*]}"))"
  echo "== Wine $VIZ_ARCH: ${tier/all/wine-core, win32 and e2e} (failure screenshots go to build/shots-$VIZ_ARCH)"
  # The other desktops and the packages have tiers of their own.
  wine_ctest -R "$re" -E '^e2e\.(PackageTest|TwoMonitorTest|HighDpiTest)\.' "${ctest_args[@]}"
}

# The tests that read the program's texts, under an English locale (UI language 0x0409, code
# page 1252), and the copy of all lines once more under German (0x0407): any language but
# Japanese gets the English texts.
english_tier() {
  local rc=0 texts
  texts='^(wine\.win32_tests|e2e\.(InfoTest\.(CopyAll|EverySingleLine|CtrlWrites|EmptyCopy|ClipboardHeld|PanelShows)'
  texts+='|PictureTest\.AFileThatCannotBeWritten|SettingWindowTest\.|HelpLinkTest\.|ShortcutWindowTest\.))'
  echo "== English $VIZ_ARCH: Win32 tier and the end-to-end tests that read texts, under en_US.UTF-8"
  (export LC_ALL=en_US.UTF-8; wine_ctest -R "$texts" "${ctest_args[@]}") || rc=1
  echo "== German $VIZ_ARCH: the copy of all lines, under de_DE.UTF-8"
  (export LC_ALL=de_DE.UTF-8; wine_ctest -R '^e2e\.InfoTest\.CopyAll' "${ctest_args[@]}") || rc=1
  return $rc
}

wants native && step native native_tier
wants fuzz && step fuzz fuzz_tier

needs_windows=0
for t in windows wine-core win32 e2e desktops english package; do wants "$t" && needs_windows=1; done
if [ $needs_windows = 1 ]; then
  step windows bash scripts/build.sh
fi

if wants package && [[ " ${ran[*]} " == *" windows "* ]]; then
  step package-build bash scripts/package.sh --no-build
fi

arch_report=()
if [ "$tier" != windows ] && [[ " ${ran[*]} " == *" windows "* ]]; then
  for arch in "${archs[@]}"; do
    if ! viz_arch_runnable "$arch"; then
      echo "== Wine $arch: not run: $VIZ_ARCH_WHY"
      arch_report+=("$arch not run: $VIZ_ARCH_WHY")
      continue
    fi
    viz_use_arch "$arch"
    before=${#failed[@]}
    if wants wine-core || wants win32 || wants e2e; then step "wine-$arch" wine_tiers; fi
    if wants desktops; then step "desktops-$arch" bash scripts/test-desktops.sh "$arch" "${ctest_args[@]}"; fi
    if wants english && [ -z "${english_done:-}" ]; then
      step "english-$arch" english_tier
      english_done=1
    fi
    if wants package && [[ " ${ran[*]} " == *" package-build "* ]]; then
      step "package-$arch" bash scripts/test-package.sh "$arch"
    fi
    if [ ${#failed[@]} -eq "$before" ]; then arch_report+=("$arch ran and passed"); else arch_report+=("$arch ran and FAILED"); fi
  done
fi

echo
echo "== summary"
[ ${#ran[@]} -gt 0 ] && echo "  passed: ${ran[*]}"
[ ${#failed[@]} -gt 0 ] && echo "  FAILED: ${failed[*]}"
for name in "${failed[@]}"; do explain_failure "$name"; done
for r in "${arch_report[@]}"; do echo "  Windows architecture $r"; done
[ ${#failed[@]} -eq 0 ]
