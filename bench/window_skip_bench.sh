#!/usr/bin/env bash
# A session in a real window under Xvfb, as a player plays it: the logo, a
# click to the title, a new game, then Shift held (through xdotool) so lines
# go by as fast as the game shows them; where a choice or menu stops the
# skip, a click picks an option and the held Shift goes on. Measured from
# the first line shown with Shift held to LINES lines later (lines as the
# game shows them: its --trace names each one), so every figure includes
# drawing, composing and the window's present:
#   cpu_ms_per_line   processor time of the whole process (all threads)
#   wall_ms_per_line  wall time
# both less what passed while the game waited at a choice until the script
# noticed the stop and clicked
#   peak_rss_kb       peak resident set of the session (logo, title, lines)
# Each run starts on a fresh data root, so it is a first play: every new
# picture is marked seen and written.
#
#   bench/window_skip_bench.sh [PELMOT] [RUNS] [LINES] [CONTENT]
#
# CONTENT is a content folder for --content (bench/peer_content.sh makes one
# with the peer workload's pictures). The last line is the summary, medians:
#   pelmot_window: cpu_ms_per_line=.. wall_ms_per_line=.. peak_rss_kb=.. load=..
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
pelmot=${1:-$here/../build/pelmot}
runs=${2:-3}
lines=${3:-200}
content=${4:-}
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "window_skip_bench: $tool is not installed" >&2; exit 77; }
done
content_args=()
[[ -n $content ]] && content_args=(--content "$content")

work=$(mktemp -d)
game="" xvfb=""
cleanup() {
  [[ -n $game ]] && { xdotool keyup Shift_L 2>/dev/null; kill "$game" 2>/dev/null; }
  [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/xvfb.sh"
start_xvfb

now_us() { date +%s%6N; }
ticks_per_s=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
shown() { sed -n 's/^LineShown //p' "$trace" | tail -n 1 | grep . || echo 0; }
traced() { grep -aq "^$1\$" "$trace"; }
give_up() { echo "run $run: $1" >&2; grep -av '^Form_KeyDown 16 1$\|^Presented ' "$trace" | tail -n 20 >&2; exit 1; }
load() { cut -d' ' -f1 /proc/loadavg; }

# Where a stopped skip may wait: the next line of a page, options of a
# choice on a full page or in the message window, menu rows.
stops=("400 300" "60 48" "60 80" "60 112" "60 440" "60 472" "120 28" "120 60")

cpus=() walls=() peaks=() loads=()
for run in $(seq "$runs"); do
  trace=$work/trace$run.txt
  "$pelmot" --data-dir "$work/data$run" "${content_args[@]}" --trace >"$trace" 2>&1 &
  game=$!
  for _ in $(seq 300); do grep -q "^FirstFrame " "$trace" 2>/dev/null && break; sleep 0.05; done
  window=$(xdotool search --pid "$game" --name '^PELMOT$' 2>/dev/null | head -1)
  [[ -n $window ]] || give_up "no window"
  sleep 0.3
  xdotool mousemove --window "$window" 400 300 click 1   # the logo goes
  for _ in $(seq 100); do traced 'Form_MouseDown 1 0 400 300' && break; sleep 0.05; done
  # The title's new game, once the title takes clicks.
  for _ in $(seq 40); do
    sleep 0.25
    xdotool mousemove --window "$window" 400 156 click 1
    for _ in $(seq 20); do (($(shown) > 0)) && break 2; sleep 0.05; done
  done
  (($(shown) > 0)) || give_up "the new game showed no line"
  xdotool keydown Shift_L
  for _ in $(seq 300); do (($(shown) > 1)) && break; sleep 0.01; done
  first=$(shown) start_cpu=$(cpu_ticks "$game") start=$(now_us) waited=0 idle_cpu=0
  last=$first changed=$start changed_cpu=$start_cpu stop=0
  while (($(shown) - first < lines)); do
    sleep 0.01
    n=$(shown) t=$(now_us)
    if ((n != last)); then last=$n changed=$t changed_cpu=$(cpu_ticks "$game"); continue; fi
    # Nothing new for 0.3 s: the skip waits at a choice or a menu. The
    # time (and the little processor time) until the click is left out.
    if ((t - changed > 300000)); then
      ((t - start > 120000000)) && give_up "stuck after $((n - first)) lines"
      waited=$((waited + t - changed))
      now_cpu=$(cpu_ticks "$game")
      idle_cpu=$((idle_cpu + now_cpu - changed_cpu))
      xdotool mousemove --window "$window" ${stops[$stop]} click 1
      stop=$(((stop + 1) % ${#stops[@]}))
      changed=$(now_us) changed_cpu=$now_cpu
    fi
  done
  end=$(now_us) end_cpu=$(cpu_ticks "$game") n=$(($(shown) - first))
  xdotool keyup Shift_L
  peaks+=("$(awk '/^VmHWM:/ {print $2}' "/proc/$game/status")")
  cpus+=("$(awk -v c=$((end_cpu - start_cpu - idle_cpu)) -v n="$n" -v hz="$ticks_per_s" 'BEGIN {printf "%.3f", 1000 * c / hz / n}')")
  walls+=("$(awk -v w=$((end - start - waited)) -v n="$n" 'BEGIN {printf "%.3f", w / 1000 / n}')")
  loads+=("$(load)")
  echo "run $run: $n lines, cpu_ms_per_line=${cpus[-1]} wall_ms_per_line=${walls[-1]}" \
       "(choice waits $((waited / 1000)) ms, $((idle_cpu * 1000 / ticks_per_s)) ms CPU left out) peak_rss_kb=${peaks[-1]} load=${loads[-1]}" >&2
  kill "$game"; wait "$game" 2>/dev/null; game=""
done

median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
echo "pelmot_window: cpu_ms_per_line=$(printf '%s\n' "${cpus[@]}" | median)" \
     "wall_ms_per_line=$(printf '%s\n' "${walls[@]}" | median)" \
     "peak_rss_kb=$(printf '%s\n' "${peaks[@]}" | median) load=$(load)"
