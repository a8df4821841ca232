#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest, each run in a Wine session of its own, with the
# loader of the architecture chosen by wine-env.sh (VIZ_WINE).
# The program's output goes through a file: Wine's background processes (wineserver, services,
# the desktop) inherit the output descriptors, and a pipe they held would keep ctest waiting on
# them if one of them did not end. After the program, the session is given a generous while to
# end by itself (so the next run starts from a fresh one) and is then ended.
out=$(mktemp)
run() {
  "${VIZ_WINE:-wine}" "$@" >"$out" 2>&1
}
run "$@"
rc=$?
# A program that printed nothing at all never started (seen now and then while the previous
# session's server was still going away): once more, from a fresh session.
if [ $rc -ne 0 ] && [ ! -s "$out" ]; then
  echo "wine-run: no output and exit code $rc; starting it once more"
  timeout 60 wineserver -w >/dev/null 2>&1 || { wineserver -k >/dev/null 2>&1; timeout 30 wineserver -w >/dev/null 2>&1; }
  run "$@"
  rc=$?
fi
cat "$out"
rm -f "$out"
timeout 60 wineserver -w >/dev/null 2>&1 || { wineserver -k >/dev/null 2>&1; timeout 30 wineserver -w >/dev/null 2>&1; }
exit "$rc"
