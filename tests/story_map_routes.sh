#!/usr/bin/env bash
# The story map from the command line: every shortest route it writes is
# replayed headless and must land on its ending (the `state` line says
# where); the drawing and the Graphviz source come out; a data folder's
# progress shows on the map.
set -uo pipefail
pelmot=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$pelmot" --story-map "$work/map.json" > "$work/figures.txt" || fail "--story-map map.json"
routes=$work/map-routes
ls "$routes"/*.txt > /dev/null || fail "no route scripts"
count=0
for script in "$routes"/*.txt; do
  name=$(basename "$script" .txt)
  data=$(mktemp -d -p "$work")
  out=$("$pelmot" --headless --script "$script" --data-dir "$data") || fail "$name: the script stopped"
  state=$(grep '^{' <<<"$out" | tail -1)
  # The script's own expects check a picture only that ending shows.
  case $name in
    game-over) want_ending=0 ;;
    game-over-after-an-ending) want_ending=$(grep -o 'expect EndingNo [0-9]*' "$script" | head -1 | cut -d' ' -f3) ;;
    *) want_ending=$((${name%%-*} - 150)); grep -q "expect CgSeen" "$script" || fail "$name: no picture to check" ;;
  esac
  grep -q "\"EndingNo\":$want_ending," <<<"$state" || fail "$name: EndingNo is not $want_ending"
  count=$((count + 1))
done
# Ten endings and the game over for a first play, all but scene 160; after an
# ending all eleven.
[[ $count == 21 ]] || fail "$count route scripts, not 21"

# The fewest picks of every script match the figures printed.
python3 - "$work/map.json" <<'PY' || fail "map.json"
import json, sys
m = json.load(open(sys.argv[1]))
assert len(m["scenes"]) == 95, len(m["scenes"])
for o in m["outcomes"]:
    for play in ("firstPlay", "afterAnEnding"):
        f = o[play]
        if f["sequences"]:
            assert f["fewestPicks"] == len(f["shortest"]), o
            text = open(f["script"]).read()
            assert text.count("\npick ") >= f["fewestPicks"], o
PY

# Progress: after a play to scene 151 its ending is marked seen, the others not.
data=$(mktemp -d -p "$work")
"$pelmot" --headless --script "$routes/151.txt" --data-dir "$data" > /dev/null || fail "151 again"
"$pelmot" --story-map "$work/seen.json" --data-dir "$data" > /dev/null || fail "--story-map with --data-dir"
python3 - "$work/seen.json" <<'PY' || fail "progress"
import json, sys
m = json.load(open(sys.argv[1]))
seen = {s["scene"]: s["endingSeen"] for s in m["scenes"] if s["kind"] == "ending"}
assert seen[151] and not any(seen[n] for n in range(152, 161)), seen
first = next(s for s in m["scenes"] if s["scene"] == 0)
assert first["picturesSeen"], first
PY

"$pelmot" --story-map "$work/map.dot" > /dev/null || fail "--story-map map.dot"
grep -q '^digraph story' "$work/map.dot" || fail "map.dot"
if command -v dot > /dev/null; then
  "$pelmot" --story-map "$work/map.svg" > /dev/null || fail "--story-map map.svg"
  grep -q '<svg' "$work/map.svg" || fail "map.svg is no drawing"
  [[ ! -e $work/map.svg.dot~ ]] || fail "the drawing's Graphviz source was left behind"
fi
"$pelmot" --story-map "$work/map.png" 2> /dev/null && fail "a .png map was accepted"
# No map where its routes cannot go, and the reason said.
touch "$work/file"
err=$("$pelmot" --story-map "$work/file/map.json" 2>&1 > /dev/null) && fail "a map below a file was written"
grep -qx "pelmot: cannot make $work/file/map-routes: Not a directory" <<<"$err" || fail "no reason: $err"
exit 0
