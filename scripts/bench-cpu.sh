#!/usr/bin/env bash
# CPU time the running magnifier costs, with the cursor at rest and with the cursor moving, and
# the same for xzoom (an X11 real-time magnifier) set to the same magnified area, on a private
# Xvfb. For vizmoria.exe every process of its private Wine prefix counts (vizmoria itself,
# wineserver, the desktop process and the other services Wine starts for it): the utime+stime
# delta from /proc/PID/stat over each window. Xvfb's own time is shown apart: it serves both.
#   bash scripts/bench-cpu.sh              install what is missing, build, measure
#   VIZ_CPU_WINDOW=60 bash ...             seconds per measurement window (default 30)
#   bash scripts/bench-cpu.sh --arch x86   the 32-bit program (default: x64, which runs everywhere)
#   VIZ_BENCH_NOBUILD=1 bash ...           use the vizmoria.exe already built
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
window=${VIZ_CPU_WINDOW:-30}
hz=$(getconf CLK_TCK)

export VIZ_WINEPREFIX=$root/build/wineprefix-bench-cpu
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh
[ "${VIZ_BENCH_NOBUILD:-0}" = 1 ] || VIZ_WITH_BENCH=1 bash scripts/install-deps.sh  # brings xzoom
arch=$(viz_default_arch)
if [ "${1:-}" = --arch ]; then arch=${2:?}; fi
viz_arch_runnable "$arch" || { echo "bench-cpu: cannot run $arch here: $VIZ_ARCH_WHY" >&2; exit 1; }
viz_use_arch "$arch"
[ "${VIZ_BENCH_NOBUILD:-0}" = 1 ] || bash scripts/build.sh --arch "$arch" --target vizmoria
command -v xzoom >/dev/null || { echo "bench-cpu: xzoom is missing" >&2; exit 1; }

# A folder of its own: no settings file there, so the program starts with its defaults (designed
# size, zoom 6, 60 ms timer).
run_dir=$root/build/bench-cpu
mkdir -p "$run_dir"
cp "$VIZ_WIN_BUILD/vizmoria.exe" "$run_dir/vizmoria.exe"
rm -f "$run_dir/vizmoria.bin"

mover_pid= xzoom_pid= viz_pid=
stop_mover() {
  if [ -n "$mover_pid" ]; then
    kill "$mover_pid" 2>/dev/null || true
    wait "$mover_pid" 2>/dev/null || true
    mover_pid=
  fi
}
cleanup() {
  stop_mover
  [ -n "$xzoom_pid" ] && { kill "$xzoom_pid" 2>/dev/null || true; wait "$xzoom_pid" 2>/dev/null || true; }
  viz_wine_stop   # wineserver -k for this prefix only
  viz_xvfb_stop   # by PID
}
viz_wine_stop
viz_xvfb_start
trap cleanup EXIT
viz_prefix_init
viz_wine_stop

# Wine's processes (loader or wineserver binaries) that carry this prefix in their environment:
# everything Wine started for it. This script's own helpers (Xvfb, xdotool, xzoom) carry the
# prefix too but run other binaries.
prefix_pids() {
  local d exe
  for d in /proc/[0-9]*; do
    exe=$(readlink "$d/exe" 2>/dev/null) || continue
    case $exe in */lib/wine/*) ;; *) continue ;; esac
    { tr '\0' '\n' < "$d/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; } 2>/dev/null && echo "${d#/proc/}"
  done
  return 0
}

# "pid ticks name" for each live pid given (utime+stime, fields 14 and 15 of /proc/PID/stat).
ticks_of() {
  local p line
  for p in "$@"; do
    line=$(cat "/proc/$p/stat" 2>/dev/null) || continue
    local name=${line#*(}
    name=${name%%)*}
    local rest=${line##*) }
    # shellcheck disable=SC2086
    set -- $rest
    echo "$p $(( ${12} + ${13} )) $name"
  done
}

# measure LABEL PIDS_COMMAND: CPU % of one core over the window, per process and in all.
declare -A result
measure() {
  local label=$1 pids_cmd=$2
  local -A t0 names
  local p t n
  while read -r p t n; do t0[$p]=$t; names[$p]=$n; done < <(ticks_of $($pids_cmd))
  local x0
  x0=$(ticks_of "$VIZ_XVFB_PID" | awk '{print $2}')
  local start end
  start=$(date +%s.%N)
  sleep "$window"
  end=$(date +%s.%N)
  local total=0 lines=""
  while read -r p t n; do
    local d=$(( t - ${t0[$p]:-0} ))
    total=$(( total + d ))
    [ "$d" -gt 0 ] && lines+="      $(printf '%-22s %6d ticks' "$n" "$d")"$'\n'
  done < <(ticks_of $($pids_cmd))
  local x1
  x1=$(ticks_of "$VIZ_XVFB_PID" | awk '{print $2}')
  local secs pct xpct
  secs=$(awk -v a="$start" -v b="$end" 'BEGIN{printf "%.2f", b-a}')
  pct=$(awk -v t="$total" -v hz="$hz" -v s="$secs" 'BEGIN{printf "%.3f", 100*t/hz/s}')
  xpct=$(awk -v t="$((x1 - x0))" -v hz="$hz" -v s="$secs" 'BEGIN{printf "%.3f", 100*t/hz/s}')
  result[$label]=$pct
  result[$label.x]=$xpct
  printf '  %-34s %7s %% of one core  (%s CPU-s per minute; Xvfb %s %%; %s s window)\n' \
    "$label" "$pct" "$(awk -v p="$pct" 'BEGIN{printf "%.3f", p*0.6}')" "$xpct" "$secs"
  printf '%s' "$lines"
}

# The pointer goes round a circle of radius 10 at 50 moves per second: one xdotool process per
# turn of 50 points, each followed by a 20 ms sleep.
start_mover() {
  local cx=$1 cy=$2 args=() i
  for i in $(seq 0 49); do
    args+=(mousemove "$(awk -v c="$cx" -v i="$i" 'BEGIN{printf "%d", c + 10*cos(i*2*3.14159265/50)}')" \
                     "$(awk -v c="$cy" -v i="$i" 'BEGIN{printf "%d", c + 10*sin(i*2*3.14159265/50)}')" \
           sleep 0.02)
  done
  ( while :; do xdotool "${args[@]}"; done ) >/dev/null 2>&1 &
  mover_pid=$!
}

moves_per_second() {  # counts pointer changes seen over 2 s
  local last="" n=0 i pos
  for i in $(seq 1 100); do
    pos=$(xdotool getmouselocation 2>/dev/null | cut -d' ' -f1-2)
    [ "$pos" != "$last" ] && n=$((n + 1))
    last=$pos
    sleep 0.02
  done
  echo $((n / 2))
}

rest_x=700 rest_y=450   # over the Wine desktop, away from the magnifier at (75,75)
echo "architecture: $arch (vizmoria.exe built for $arch, run by $VIZ_WINE)"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg); window ${window}s each; CLK_TCK $hz"

list_prefix() {
  ticks_of $(prefix_pids) | awk '{print $3}' | sort | uniq -c | awk '{printf "%s%s ", $2, ($1>1?"x"$1:"")}'
}

# What the Wine desktop itself costs with no program of ours running, the pointer at rest and
# moving over it: that much of each figure of the magnifier is Wine's own.
# The desktop process ends with the last window, so an idle Notepad keeps it; the pointer circles
# near the bottom-right corner, away from Notepad's window.
echo "== Wine virtual desktop with an idle Notepad"
xdotool mousemove 1200 760
"$VIZ_WINE" notepad >/dev/null 2>&1 &
desk_pid=$!
sleep 8
echo "  prefix processes: $(list_prefix)"
measure "Wine desktop + Notepad, at rest" prefix_pids
start_mover 1200 760
sleep 2
measure "Wine desktop + Notepad, moving" prefix_pids
stop_mover
viz_wine_stop
wait "$desk_pid" 2>/dev/null || true

echo "== vizmoria.exe (designed size, default settings: zoom 6, 60 ms timer) under Wine"
xdotool mousemove "$rest_x" "$rest_y"
(cd "$run_dir" && exec "$VIZ_WINE" "$run_dir/vizmoria.exe") >/dev/null 2>&1 &
viz_pid=$!
sleep 10   # start-up and the desktop process settle
procs=$(list_prefix)
echo "  prefix processes: $procs"
case " $procs " in
  *" vizmoria.exe "*) ;;
  *) echo "bench-cpu: vizmoria.exe is not running (crashed at start?)" >&2; exit 1 ;;
esac
case " $procs " in *" winedbg "*) echo "bench-cpu: a Wine process crashed (winedbg runs)" >&2; exit 1 ;; esac
measure "vizmoria, cursor at rest" prefix_pids
start_mover "$rest_x" "$rest_y"
sleep 2
echo "  pointer moves seen: about $(moves_per_second) per second"
measure "vizmoria, cursor moving" prefix_pids
stop_mover
case " $(list_prefix) " in
  *" vizmoria.exe "*) ;;
  *) echo "bench-cpu: vizmoria.exe ended during the measurement: figures not valid" >&2; exit 1 ;;
esac
viz_wine_stop
wait "$viz_pid" 2>/dev/null || true

# xzoom does not follow the pointer: it redraws its fixed source area on every frame.
# -delay (ms between frames; not in its manual, shown by its 'd' key) set to the magnifier's
# 60 ms timer, and once with its default.
xzoom_pids() { echo "$xzoom_pid"; }
run_xzoom() {  # label, extra args, moving(0/1)
  xdotool mousemove "$rest_x" "$rest_y"
  # shellcheck disable=SC2086
  xzoom -mag 6 -source 40x30+$((rest_x - 20))+$((rest_y - 15)) $2 >/dev/null 2>&1 &
  xzoom_pid=$!
  sleep 3
  measure "$1, cursor at rest" xzoom_pids
  if [ "$3" = 1 ]; then
    start_mover "$rest_x" "$rest_y"
    sleep 2
    measure "$1, cursor moving" xzoom_pids
    stop_mover
  fi
  kill "$xzoom_pid" 2>/dev/null || true
  wait "$xzoom_pid" 2>/dev/null || true
  xzoom_pid=
}
echo "== xzoom -mag 6 -source 40x30 (the same magnified area)"
run_xzoom "xzoom -delay 60" "-delay 60" 1
run_xzoom "xzoom (default delay)" "" 0

ratio() { awk -v a="$1" -v b="$2" 'BEGIN{ if (b > 0) printf "%.2f", a/b; else print "n/a" }'; }
echo "== summary (CPU % of one core; targets for the magnifier: at rest < 0.5, moving < 3)"
r() { echo "${result[$1]:-n/a}"; }
printf '  %-30s %10s %10s\n' "" "at rest" "moving"
printf '  %-30s %10s %10s\n' "vizmoria + its Wine processes" "$(r 'vizmoria, cursor at rest')" "$(r 'vizmoria, cursor moving')"
printf '  %-30s %10s %10s\n' "Wine desktop + idle Notepad" "$(r 'Wine desktop + Notepad, at rest')" "$(r 'Wine desktop + Notepad, moving')"
less() { awk -v a="$(r "$1")" -v b="$(r "$2")" 'BEGIN{printf "%.3f", a-b}'; }
printf '  %-30s %10s %10s\n' "vizmoria less that" \
  "$(less 'vizmoria, cursor at rest' 'Wine desktop + Notepad, at rest')" \
  "$(less 'vizmoria, cursor moving' 'Wine desktop + Notepad, moving')"
printf '  %-30s %10s %10s\n' "xzoom -delay 60" "$(r 'xzoom -delay 60, cursor at rest')" "$(r 'xzoom -delay 60, cursor moving')"
printf '  %-30s %10s %10s\n' "xzoom default delay" "$(r 'xzoom (default delay), cursor at rest')" "-"
printf '  %-30s %10s %10s\n' "ratio vizmoria / xzoom -delay 60" \
  "$(ratio "$(r 'vizmoria, cursor at rest')" "$(r 'xzoom -delay 60, cursor at rest')")" \
  "$(ratio "$(r 'vizmoria, cursor moving')" "$(r 'xzoom -delay 60, cursor moving')")"
printf '  %-30s %10s %10s\n' "Xvfb during vizmoria" "$(r 'vizmoria, cursor at rest.x')" "$(r 'vizmoria, cursor moving.x')"
printf '  %-30s %10s %10s\n' "Xvfb during xzoom -delay 60" "$(r 'xzoom -delay 60, cursor at rest.x')" "$(r 'xzoom -delay 60, cursor moving.x')"
awk -v a="$(r 'vizmoria, cursor at rest')" -v m="$(r 'vizmoria, cursor moving')" 'BEGIN{
  printf "  targets: at rest %s (%.3f %%, limit 0.5), moving %s (%.3f %%, limit 3)\n",
    (a < 0.5 ? "met" : "NOT met"), a, (m < 3 ? "met" : "NOT met"), m }'
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
