#!/usr/bin/env bash
# CPU of the running magnifier's own process against vizref (bench/ref_loop.cpp: the least a
# Win32 magnifier does per tick, copying, enlarging, drawing a grid and painting every tick), in
# one run on a private Xvfb with one Wine prefix: both at the 60 ms timer and at 30 ms (the
# program's smooth capture), with the cursor at rest and moving (a circle of radius 10 at 50
# moves a second), the magnifier at its designed size at (75, 75), both looking at the same
# still desktop. CPU = the scheduler's run time of the program's Wine process (all its threads)
# over a window, in per cent of one core, the median of several windows; wineserver and the
# desktop process serve both alike and are not counted.
#
# Then the pointer in motion, the program over vizref --pattern (a window whose every pixel tells
# its own place), watched from the X side by bench/motion_probe.py: the latency from the X server's
# move to the view showing the new place (median and p95 of 40 moves at varied phases); the
# pictures a second and the CPU while the pointer moves faster than the display (200 moves a
# second round a circle), and CPU per picture against a bare copy (vizref --copy) run at the
# same number of pictures a second; the pictures per burst of 8 moves sent at once.
#
#   bash scripts/bench-cpu.sh [--arch x86|x64] [--baseline EXE]
#                                                 install, build, measure (x64 unless told);
#                                                 EXE, another build of vizmoria.exe, is measured
#                                                 in the same run beside the one built here
#   VIZ_CPU_WINDOW=20 bash ...                    seconds per window (default 10)
#   VIZ_CPU_RUNS=5 bash ...                       windows per figure, median taken (default 3)
#   VIZ_BENCH_NOBUILD=1 bash ...                  use the programs already built
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
window=${VIZ_CPU_WINDOW:-10}
runs=${VIZ_CPU_RUNS:-3}
hz=$(getconf CLK_TCK)

export VIZ_WINEPREFIX=$root/build/wineprefix-bench-cpu
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh
[ "${VIZ_BENCH_NOBUILD:-0}" = 1 ] || bash scripts/install-deps.sh
arch=$(viz_default_arch)
baseline=
while [ $# -gt 0 ]; do
  case $1 in
    --arch) arch=${2:?}; shift 2 ;;
    --baseline) baseline=$(realpath "${2:?}"); shift 2 ;;
    *) echo "bench-cpu: unknown argument '$1'" >&2; exit 2 ;;
  esac
done
[ -z "$baseline" ] || [ -f "$baseline" ] || { echo "bench-cpu: no baseline $baseline" >&2; exit 1; }
viz_arch_runnable "$arch" || { echo "bench-cpu: cannot run $arch here: $VIZ_ARCH_WHY" >&2; exit 1; }
viz_use_arch "$arch"
[ "${VIZ_BENCH_NOBUILD:-0}" = 1 ] || bash scripts/build.sh --arch "$arch" --target vizmoria vizref

# Folders of their own; the program's settings file holds only the smooth-capture option (the
# rest are the defaults: designed size, zoom 6, grid on, six lines).
# "before" holds the baseline's copies.
run_dir=$root/build/bench-cpu
rm -rf "$run_dir"
programs=(vizmoria)
[ -z "$baseline" ] || programs+=(before)
for p in "${programs[@]}"; do
  for i in 60 30; do
    mkdir -p "$run_dir/$p-$i"
    if [ "$p" = before ]; then cp "$baseline" "$run_dir/$p-$i/vizmoria.exe"
    else cp "$VIZ_WIN_BUILD/vizmoria.exe" "$run_dir/$p-$i/"; fi
  done
done
python3 - "$run_dir/vizmoria-30/vizmoria.bin" <<'PY'
import struct, sys
f = bytearray(343)
f[0:6] = b'QORB\x01\x01'
b = 22
struct.pack_into('<iiii', f, b, 75, 75, 0, 0)       # position; size 0 keeps the designed size
f[b + 16] = 4                                        # 6x
struct.pack_into('<H', f, b + 17, 1)                 # grid shown
f[b + 19], f[b + 20] = 2, 1                          # gray grid, blue sub-grid
struct.pack_into('<II', f, b + 21, 0x999999, 0xFF6666)
struct.pack_into('<HH', f, b + 33, 3, 1)             # RGB, HTML; screen
struct.pack_into('<I', f, b + 45, 7)                 # handle, class, text
struct.pack_into('<H', f, b + 53, 32)                # smooth capture
open(sys.argv[1], 'wb').write(f)
PY
[ -z "$baseline" ] || cp "$run_dir/vizmoria-30/vizmoria.bin" "$run_dir/before-30/"

mover_pid= prog_pid= pattern_pid=
stop_mover() {
  if [ -n "$mover_pid" ]; then
    kill "$mover_pid" 2>/dev/null || true
    wait "$mover_pid" 2>/dev/null || true
    mover_pid=
  fi
}
cleanup() {
  stop_mover
  viz_wine_stop   # wineserver -k for this prefix only
  viz_xvfb_stop   # by PID
}
viz_wine_stop
viz_xvfb_start
trap cleanup EXIT
viz_prefix_init

# The Linux PID of the Wine process running the Windows program `name` in this prefix.
program_pid() {
  local d
  for d in /proc/[0-9]*; do
    [ "$(cat "$d/comm" 2>/dev/null)" = "$1" ] || continue
    { tr '\0' '\n' < "$d/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; } 2>/dev/null && { echo "${d#/proc/}"; return 0; }
  done
  return 1
}

# CPU time of a PID in nanoseconds: the scheduler's exact run time summed over its threads
# (/proc/PID/task/*/schedstat); where that is missing, utime+stime in clock ticks, which are
# sampled and so coarse for a process that runs a few milliseconds a second.
cpu_ns_of() {
  local sum=0 f v line rest
  if [ -r "/proc/$1/schedstat" ]; then
    for f in /proc/"$1"/task/*/schedstat; do
      read -r v _ < "$f" 2>/dev/null || continue
      sum=$((sum + v))
    done
    echo "$sum"
    return
  fi
  line=$(cat "/proc/$1/stat" 2>/dev/null) || { echo 0; return; }
  rest=${line##*) }
  # shellcheck disable=SC2086
  set -- $rest
  echo $(( (${12} + ${13}) * 1000000000 / hz ))
}

measure() {  # PID: CPU % of one core, the median over $runs windows
  local t0 t1 s0 s1 i all=()
  for i in $(seq 1 "$runs"); do
    t0=$(cpu_ns_of "$1"); s0=$(date +%s.%N)
    sleep "$window"
    t1=$(cpu_ns_of "$1"); s1=$(date +%s.%N)
    all+=("$(awk -v t="$((t1 - t0))" -v a="$s0" -v b="$s1" 'BEGIN{printf "%.3f", 100*t/1e9/(b-a)}')")
  done
  printf '%s\n' "${all[@]}" | sort -g | awk '{v[NR]=$1} END{printf "%.2f", NR % 2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'
}

start_mover() {  # a circle of radius 10 around (cx, cy), 50 points a second (or $3 a second)
  local cx=$1 cy=$2 rate=${3:-50} args=() i
  for i in $(seq 0 $((rate - 1))); do
    args+=(mousemove "$(awk -v c="$cx" -v i="$i" -v n="$rate" 'BEGIN{printf "%d", c + 10*cos(i*2*3.14159265/n)}')" \
                     "$(awk -v c="$cy" -v i="$i" -v n="$rate" 'BEGIN{printf "%d", c + 10*sin(i*2*3.14159265/n)}')" \
           sleep "$(awk -v n="$rate" 'BEGIN{printf "%.4f", 1/n}')")
  done
  ( while :; do xdotool "${args[@]}"; done ) >/dev/null 2>&1 &
  mover_pid=$!
}

# Bursts of 8 moves sent at once (well within one display frame), 10 a second, ending right and
# left of (cx, cy) in turn, so that each burst's end is a new place; each burst appends a line
# to $1.
start_burst_mover() {
  local log=$1 cx=$2 cy=$3 right=() left=() i
  for i in $(seq 0 7); do
    right+=(mousemove $((cx + i)) $((cy + i % 3)))
    left+=(mousemove $((cx - i)) $((cy - i % 3)))
  done
  : > "$log"
  ( while :; do
      xdotool "${right[@]}"; echo >> "$log"; sleep 0.1
      xdotool "${left[@]}"; echo >> "$log"; sleep 0.1
    done ) >/dev/null 2>&1 &
  mover_pid=$!
}

declare -A result
rest_x=700 rest_y=450   # over the desktop, away from both windows at (75, 75)

start_program() {  # comm folder command...: starts it and waits for its process
  local comm=$1 dir=$2 i
  shift 2
  (cd "$dir" && exec "$@") >/dev/null 2>&1 &
  prog_pid=
  for i in $(seq 1 100); do
    prog_pid=$(program_pid "$comm") && break
    sleep 0.2
  done
  [ -n "$prog_pid" ] || { echo "bench-cpu: $comm did not start" >&2; exit 1; }
  sleep 5   # start-up settles
}

run_case() {  # label comm folder command...: runs the command in the folder and measures it
  local label=$1 comm=$2 dir=$3
  shift 3
  xdotool mousemove "$rest_x" "$rest_y"
  start_program "$comm" "$dir" "$@"
  result[$label.rest]=$(measure "$prog_pid")
  start_mover "$rest_x" "$rest_y"
  sleep 2
  result[$label.moving]=$(measure "$prog_pid")
  stop_mover
  [ -e "/proc/$prog_pid" ] || { echo "bench-cpu: $comm ended during the measurement" >&2; exit 1; }
  printf '  %-22s at rest %6s %%   moving %6s %%\n' "$label" "${result[$label.rest]}" "${result[$label.moving]}"
  viz_wine_stop
  sleep 1
}

echo "architecture: $arch ($VIZ_WINE); machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg); median of $runs windows of ${window} s; CPU of the program's own process"
for interval in 60 30; do
  for p in "${programs[@]}"; do
    run_case "$p $interval ms" vizmoria.exe "$run_dir/$p-$interval" "$VIZ_WINE" \
      "$run_dir/$p-$interval/vizmoria.exe"
  done
  run_case "vizref $interval ms" vizref.exe "$run_dir" "$VIZ_WINE" "$VIZ_WIN_BUILD/vizref.exe" \
    --interval "$interval" --size 243x210 --pos 75,75
  run_case "bare copy $interval ms" vizref.exe "$run_dir" "$VIZ_WINE" "$VIZ_WIN_BUILD/vizref.exe" \
    --interval "$interval" --size 243x210 --pos 75,75 --copy
  run_case "empty timer $interval ms" vizref.exe "$run_dir" "$VIZ_WINE" "$VIZ_WIN_BUILD/vizref.exe" \
    --interval "$interval" --size 243x210 --pos 75,75 --idle
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN{ if (b > 0) printf "%.2fx", a/b; else print "n/a" }'; }

echo
before_head= before_sep=
[ -z "$baseline" ] || { before_head=" before |"; before_sep="---|"; }
echo "| timer | cursor | vizmoria |$before_head vizref | ratio | a bare copy (ratio) | a timer that does nothing |"
echo "|---|---|---|$before_sep---|---|---|---|"
for interval in 60 30; do
  for state in rest moving; do
    v=${result[vizmoria $interval ms.$state]} r=${result[vizref $interval ms.$state]}
    e=${result[empty timer $interval ms.$state]} c=${result[bare copy $interval ms.$state]}
    b=
    [ -z "$baseline" ] || b=" ${result[before $interval ms.$state]} % |"
    printf '| %s ms | %s | %s %% |%s %s %% | %s | %s %% (%s) | %s %% |\n' "$interval" "$state" "$v" "$b" "$r" \
      "$(ratio "$v" "$r")" "$c" "$(ratio "$c" "$r")" "$e"
  done
done

# ---- the pointer in motion -------------------------------------------------------------------

cx=800 cy=450   # the pointer's centre, inside the pattern at (480, 180) 640x540
probe() { python3 "$root/bench/motion_probe.py" "$@"; }

# CPU % and pictures a second over the same windows: the probe counts while the CPU is summed.
measure_pictures() {  # PID SX SY: "cpu pps", medians over $runs windows
  local t0 t1 s0 s1 i cpus=() pps=() out
  for i in $(seq 1 "$runs"); do
    t0=$(cpu_ns_of "$1"); s0=$(date +%s.%N)
    out=$(probe count "$2" "$3" "$cx" "$cy" "$window")
    t1=$(cpu_ns_of "$1"); s1=$(date +%s.%N)
    cpus+=("$(awk -v t="$((t1 - t0))" -v a="$s0" -v b="$s1" 'BEGIN{printf "%.3f", 100*t/1e9/(b-a)}')")
    pps+=("${out#* }")
  done
  median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END{printf "%.2f", NR % 2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
  echo "$(median "${cpus[@]}") $(median "${pps[@]}")"
}

motion_case() {  # label folder: the program over the pattern, in motion
  local label=$1 dir=$2 sample out bursts0 bursts1 burst_log=$run_dir/bursts.log
  (cd "$run_dir" && exec "$VIZ_WINE" "$VIZ_WIN_BUILD/vizref.exe" --pattern --pos 480,180 --size 640x540) >/dev/null 2>&1 &
  xdotool mousemove "$cx" "$cy"
  start_program vizmoria.exe "$dir" "$VIZ_WINE" "$dir/vizmoria.exe"
  sample=$(probe calibrate 60 60 420 480 "$cx" "$cy") || { echo "bench-cpu: $label: no view found" >&2; exit 1; }
  # shellcheck disable=SC2086
  result[$label.latency]=$(probe latency $sample "$cx" "$cy" 40)
  start_mover "$cx" "$cy" 200
  sleep 2
  # shellcheck disable=SC2086
  result[$label.fast]=$(measure_pictures "$prog_pid" $sample)
  stop_mover
  start_burst_mover "$burst_log" "$cx" "$cy"
  sleep 2
  bursts0=$(wc -l < "$burst_log")
  # shellcheck disable=SC2086
  out=$(probe count $sample "$cx" "$cy" "$window")
  bursts1=$(wc -l < "$burst_log")
  stop_mover
  result[$label.perburst]=$(awk -v p="${out%% *}" -v b="$((bursts1 - bursts0))" 'BEGIN{ if (b > 0) printf "%.2f", p/b; else print "n/a" }')
  printf '  %-22s latency %s ms (median p95)   moving fast: %s (CPU %% pictures/s)   pictures per burst %s\n' \
    "$label" "${result[$label.latency]}" "${result[$label.fast]}" "${result[$label.perburst]}"
  viz_wine_stop
  sleep 1
}

echo
echo "the pointer in motion over the pattern, watched from the X side:"
for p in "${programs[@]}"; do motion_case "$p" "$run_dir/$p-60"; done
# The bare copy at the rate of the new program's pictures.
pps=${result[vizmoria.fast]#* }
copy_interval=$(awk -v p="$pps" 'BEGIN{ i = p > 0 ? int(1000/p + 0.5) : 60; print (i < 10 ? 10 : i) }')
xdotool mousemove "$cx" "$cy"
start_program vizref.exe "$run_dir" "$VIZ_WINE" "$VIZ_WIN_BUILD/vizref.exe" --interval "$copy_interval" \
  --size 243x210 --pos 75,75 --copy
start_mover "$cx" "$cy" 200
sleep 2
copy_cpu=$(measure "$prog_pid")
stop_mover
viz_wine_stop
echo "  bare copy every $copy_interval ms: CPU $copy_cpu %"

per_picture() { awk -v c="$1" -v p="$2" 'BEGIN{ if (p > 0) printf "%.0f", c/100*1e6/p; else print "n/a" }'; }
copy_us=$(per_picture "$copy_cpu" "$(awk -v i="$copy_interval" 'BEGIN{print 1000/i}')")
echo
echo "| program | latency median / p95 | pictures a second, moving fast | CPU, moving fast | CPU per picture | against a bare copy ($copy_us us) | pictures per burst of 8 moves |"
echo "|---|---|---|---|---|---|---|"
for p in "${programs[@]}"; do
  read -r lm lp <<< "${result[$p.latency]}"
  read -r fc fp <<< "${result[$p.fast]}"
  us=$(per_picture "$fc" "$fp")
  printf '| %s | %s / %s ms | %s | %s %% | %s us | %s | %s |\n' "$p" "$lm" "$lp" "$fp" "$fc" "$us" \
    "$(ratio "$us" "$copy_us")" "${result[$p.perburst]}"
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
