#!/usr/bin/env bash
# Start-up under Xvfb: the time from starting the process to the first picture
# on screen (and the processor time the program spent until then, which a busy
# machine disturbs less), and the peak memory (resident set) of a run from
# the start to the title. Each run gets a fresh data root.
#
#   bench/startup_bench.sh [PELMOT] [RUNS] [OTHER_PELMOT]
#
# With OTHER_PELMOT (say, a build of an earlier commit with its content
# beside it) the two programs take turns, run for run, so that a busy
# machine weighs on both alike, and both are reported.
#
# Goals: the first picture within 60 ms, the peak under 50 MB.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
pelmot=${1:-$here/../build/pelmot}
runs=${2:-10}
other=${3:-}
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "startup_bench: $tool is not installed" >&2; exit 77; }
done

work=$(mktemp -d)
cleanup() {
  [[ -n ${game:-} ]] && kill "$game" 2>/dev/null
  [[ -n ${xvfb:-} ]] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/xvfb.sh"
start_xvfb

# One run of program $1 as run number $2: appends "first cpu peak" (tenths
# of a millisecond, tenths of a millisecond, kB) to $work/results-$3.
measure() {
  local program=$1 run=$2 label=$3
  local trace=$work/trace-$label-$run.txt start shown cpu window peak
  start=$(date +%s%6N)
  "$program" --data-dir "$work/data-$label-$run" --trace >"$trace" 2>&1 &
  game=$!
  for _ in $(seq 200); do grep -q "^FirstFrame " "$trace" 2>/dev/null && break; sleep 0.02; done
  read -r shown cpu < <(sed -n 's/^FirstFrame //p' "$trace")
  [[ -z ${shown:-} ]] && { echo "run $run of $program: no first frame" >&2; cat "$trace" >&2; exit 1; }
  window=$(xdotool search --pid "$game" --name '^PELMOT$' 2>/dev/null | head -1)
  sleep 0.3
  xdotool mousemove --window "$window" 400 300 click 1
  for _ in $(seq 100); do grep -q '^Form_MouseDown 1 0 400 300$' "$trace" && break; sleep 0.02; done
  sleep 0.3  # the title is up
  peak=$(awk '/^VmHWM:/ {print $2}' "/proc/$game/status")
  kill "$game"; wait "$game" 2>/dev/null; game=""
  echo "$(( (shown - start) / 100 )) $(( cpu / 100 )) $peak" >>"$work/results-$label"
}

stats() {  # min median max of the numbers given
  sort -n | awk '{v[NR]=$1} END {printf "%s %s %s", v[1], v[int((NR+1)/2)], v[NR]}'
}
tenths() { printf '%d.%d' $(($1 / 10)) $(($1 % 10)); }
report() {  # the figures of the runs labelled $1, of program $2
  local fmin fmed fmax cmin cmed cmax pmin pmed pmax
  read -r fmin fmed fmax < <(cut -d' ' -f1 "$work/results-$1" | stats)
  read -r cmin cmed cmax < <(cut -d' ' -f2 "$work/results-$1" | stats)
  read -r pmin pmed pmax < <(cut -d' ' -f3 "$work/results-$1" | stats)
  echo "$2: $runs runs"
  echo "  first frame after process start: median $(tenths "$fmed") ms (min $(tenths "$fmin"), max $(tenths "$fmax")); goal 60 ms"
  echo "  processor time until then (all threads): median $(tenths "$cmed") ms (min $(tenths "$cmin"), max $(tenths "$cmax"))"
  echo "  peak RSS from start to the title: median $((pmed / 1024)) MB (min $((pmin / 1024)), max $((pmax / 1024))); goal 50 MB"
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for run in $(seq "$runs"); do
  measure "$pelmot" "$run" a
  [[ -n $other ]] && measure "$other" "$run" b
done
echo "load average before: $load_before; after: $(cut -d' ' -f1-3 /proc/loadavg)"
report a "$pelmot"
[[ -n $other ]] && report b "$other"
exit 0
