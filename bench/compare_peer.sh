#!/usr/bin/env bash
# PELMOT and ONScripter on the same kind of work, run back to back: each
# round runs the peer workload once, then each of our benchmarks once, so a
# busy machine slows both alike. Prints the median of each figure over the
# rounds, the ratio to ONScripter's and the goal, with the load average.
#
#   bench/compare_peer.sh [ROUNDS] [BUILD] [PEER_BENCH]
#
# ROUNDS      default 5
# BUILD       a build with pelmot and bench/story_bench (default: build)
# PEER_BENCH  the peer workload (default: ../shared/peer-bench; copied first)
# Needs: onscripter xvfb xdotool imagemagick time fonts-ipafont-gothic gcc python3
#
# The figures, ours from bench/startup_bench.sh, bench/window_skip_bench.sh
# (on bench/peer_content.sh's pictures) and bench/story_bench:
#   first frame       process start to the first picture on screen, wall and
#                     processor time (ONScripter: its line 1; its processor
#                     time is that of a run that quits right after line 1)
#   skip CPU per line with Shift (Ctrl) held, window present included, on
#                     twenty 1 MB noisy pictures, packed copies and new
#                     install (ONScripter: processor time of the 200-line
#                     run less that of the line-1 run, / 199)
#   peak RSS          a session: start, (logo, title,) 200 lines
#   headless story    lines shown per wall second, new game to ending 10,
#                     first play, and first play on a new install (no peer figure)
#   click             a reader's clicks that bring a new picture: event-thread
#                     CPU, median and 99th percentile (measured once)
# Each round plays the peer pictures twice on a picture cache of its own:
# first as a new install (every picture decoded from its PNG), then again
# with the packed copies that play left, as any later session does. The
# medians come with every round's ratio, so a lead that is not steady shows.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
rounds=${1:-5}
build=$(cd "${2:-$here/../build}" && pwd)
peer_source=${3:-$here/../../shared/peer-bench}
for tool in /usr/games/onscripter-1byte Xvfb xdotool convert /usr/bin/time gcc python3; do
  command -v "$tool" >/dev/null || { echo "compare_peer: $tool is not installed" >&2; exit 77; }
done
[[ -x $build/pelmot && -x $build/bench/story_bench ]] || { echo "compare_peer: build $build first" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/peer"
cp -r "$peer_source/." "$work/peer/"
chmod -R u+w "$work/peer"
"$work/peer/tools/setup_onscripter_game.sh" >&2
"$here/peer_content.sh" "$work/content" "$build" "$work/peer"
results=$work/rounds.txt

loadavg() { cut -d' ' -f1-3 /proc/loadavg; }
echo "load average at the start: $(loadavg)" >&2
for round in $(seq "$rounds"); do
  echo "--- round $round of $rounds (load $(loadavg))" >&2
  REPEAT=1 WARMUP=0 "$work/peer/bench_onscripter.sh" >"$work/ons.txt"
  first_json=$(ls -t "$work"/peer/results/onscripter-first-*.json | head -1)
  skip_json=$(ls -t "$work"/peer/results/onscripter-skip-*.json | head -1)
  python3 - "$first_json" "$skip_json" >>"$results" <<'EOF'
import json, sys
first = [r for r in json.load(open(sys.argv[1]))["runs"] if not r["warmup"]][0]
skip = [r for r in json.load(open(sys.argv[2]))["runs"] if not r["warmup"]][0]
print("ons_first_wall_ms", first["first_line_ms"])
print("ons_first_cpu_ms", round(1000 * first["cpu_s"], 1))
print("ons_skip_cpu_ms", round(1000 * (skip["cpu_s"] - first["cpu_s"]) / 199, 3))
print("ons_peak_rss_kb", skip["peak_rss_kb"])
EOF
  "$here/startup_bench.sh" "$build/pelmot" 1 >"$work/start.txt"
  sed -n 's/^ *first frame after process start: median \([0-9.]*\) ms.*/our_first_wall_ms \1/p;
          s/^ *processor time until then (all threads): median \([0-9.]*\) ms.*/our_first_cpu_ms \1/p' \
    "$work/start.txt" >>"$results"
  # A picture cache of the round's own; fontconfig's cache (kept under the
  # same root) is copied in, so only the pictures are new.
  mkdir -p "$work/cache-$round"
  [[ -d ${XDG_CACHE_HOME:-$HOME/.cache}/fontconfig ]] && cp -r "${XDG_CACHE_HOME:-$HOME/.cache}/fontconfig" "$work/cache-$round/"
  for kind in new packed; do
    XDG_CACHE_HOME=$work/cache-$round "$here/window_skip_bench.sh" "$build/pelmot" 1 200 "$work/content" |
      tail -n 1 >"$work/window.txt"
    sed -n "s/.*cpu_ms_per_line=\([0-9.]*\).*peak_rss_kb=\([0-9]*\).*/our_${kind}_skip_cpu_ms \1\nour_${kind}_peak_rss_kb \2/p" \
      "$work/window.txt" >>"$results"
  done
  "$build/bench/story_bench" --benchmark_filter='WholeStory.*(first_play|new_install)' --benchmark_format=json 2>/dev/null |
    python3 -c 'import json,sys
for b in json.load(sys.stdin)["benchmarks"]:
    kind = "new" if "new_install" in b["name"] else "story"
    print("our_%s_lines_per_s" % kind, round(b["lines_per_wall_s"]))
    print("our_%s_lines_per_cpu_s" % kind, round(b["lines_per_cpu_s"]))' >>"$results"
  echo "load_average $(cut -d' ' -f1 /proc/loadavg)" >>"$results"
done

# A reader's clicks that bring a new picture, once (it reads the whole story
# at a click every 10 ms).
"$build/bench/story_bench" --benchmark_filter='Click' --benchmark_format=json 2>/dev/null |
  python3 -c 'import json,sys
for b in json.load(sys.stdin)["benchmarks"]:
    kind = "new" if "new_install" in b["name"] else "copies"
    print("our_click_%s_median_ms" % kind, round(b["median_cpu_ms"], 3))
    print("our_click_%s_p99_ms" % kind, round(b["p99_cpu_ms"], 3))' >>"$results"

python3 - "$results" "$rounds" <<'EOF'
import statistics, sys
values = {}
for line in open(sys.argv[1]):
    key, value = line.split()
    values.setdefault(key, []).append(float(value))
med = lambda k: statistics.median(values[k]) if k in values else float("nan")
rows = [  # measure, ours, theirs, goal, unit
    ("start to first frame, wall", "our_first_wall_ms", "ons_first_wall_ms", "<= 0.5x", "ms"),
    ("start to first frame, CPU", "our_first_cpu_ms", "ons_first_cpu_ms", "<= 0.35x", "ms"),
    ("skip, CPU per line, packed copies", "our_packed_skip_cpu_ms", "ons_skip_cpu_ms", "<= 0.25x, no round > 0.3x", "ms"),
    ("skip, CPU per line, new install", "our_new_skip_cpu_ms", "ons_skip_cpu_ms", "<= 0.5x", "ms"),
    ("peak RSS, session (200 lines), packed copies", "our_packed_peak_rss_kb", "ons_peak_rss_kb", "<= 0.5x", "kB"),
    ("peak RSS, session (200 lines), new install", "our_new_peak_rss_kb", "ons_peak_rss_kb", "-", "kB"),
]
print("medians of %s rounds, load average %s (min %s, max %s)" % (
    sys.argv[2], med("load_average"), min(values["load_average"]), max(values["load_average"])))
print("| Measure | PELMOT | ONScripter | ratio | goal |")
print("|---|---|---|---|---|")
for name, ours, theirs, goal, unit in rows:
    o, t = med(ours), med(theirs)
    print("| %s | %g %s | %g %s | %.2fx | %s |" % (name, o, unit, t, unit, o / t if t else float("nan"), goal))
print("| headless whole story, new game to ending 10, packed copies | %g lines/s wall (%g per CPU s) | - | - | >= 20000 lines/s |"
      % (med("our_story_lines_per_s"), med("our_story_lines_per_cpu_s")))
print("| the same on a new install (every picture from its PNG) | %g lines/s wall (%g per CPU s) | - | - | >= 5000 lines/s |"
      % (med("our_new_lines_per_s"), med("our_new_lines_per_cpu_s")))
print("| click to a new picture, event-thread CPU, median / p99 | %g / %g ms | - | - | < 1 / < 3 ms |"
      % (med("our_click_copies_median_ms"), med("our_click_copies_p99_ms")))
print("| the same on a new install | %g / %g ms | - | - | - |"
      % (med("our_click_new_median_ms"), med("our_click_new_p99_ms")))
print()
print("every round's ratio:")
for name, ours, theirs, _, _ in rows:
    pairs = zip(values.get(ours, []), values.get(theirs, []))
    print("  %s: %s" % (name, " ".join("%.2fx" % (o / t) for o, t in pairs if t)))
for name, key in (("headless lines/s, packed copies", "our_story_lines_per_s"), ("headless lines/s, new install", "our_new_lines_per_s")):
    print("  %s: %s" % (name, " ".join("%g" % v for v in values.get(key, []))))
print("  load average: %s" % " ".join("%g" % v for v in values["load_average"]))
EOF
