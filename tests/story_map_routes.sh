#!/usr/bin/env bash
# The story map from the command line: every shortest route it writes is
# replayed headless and must land on its ending (the `state` line says
# where); the drawing and the Graphviz source come out; a data folder's
# progress shows on the map.
#   story_map_routes.sh PELMOT PART
# In three parts that can run side by side, each counting the routes two or
# three times: routes (the replays, the figures, progress), warps, authoring
# (the overlay, copied routes, the drawings). With PELMOT_TEST_SAMPLE=1 (the
# sanitizer build) the routes part replays 12 of the 21 routes: every ending
# once, by a first play or after an ending in turn, and both game overs.
set -uo pipefail
pelmot=$1
part=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
routes=$work/map-routes

# Whether the sample replays the route script NAME.
sampled() {
  [[ ${PELMOT_TEST_SAMPLE:-0} == 1 ]] || return 0
  case $1 in
    game-over | game-over-after-an-ending | 160-after-an-ending) return 0 ;;
    *-after-an-ending) (( ${1%%-*} % 2 == 0 )) ;;
    *) (( $1 % 2 == 1 )) ;;
  esac
}

replay_routes() {
"$pelmot" --story-map "$work/map.json" > "$work/figures.txt" || fail "--story-map map.json"
ls "$routes"/*.txt > /dev/null || fail "no route scripts"
local count=0 replayed=0 script name data out state want_ending endings=""
for script in "$routes"/*.txt; do
  name=$(basename "$script" .txt)
  count=$((count + 1))
  sampled "$name" || continue
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
  replayed=$((replayed + 1))
  endings+=" ${name%%-*}"
done
# Ten endings and the game over for a first play, all but scene 160; after an
# ending all eleven.
[[ $count == 21 ]] || fail "$count route scripts, not 21"
# The sample still reaches every outcome.
local outcome
for outcome in 151 152 153 154 155 156 157 158 159 160 game; do
  [[ " $endings " == *" $outcome "* ]] || fail "no route to $outcome was replayed"
done
echo "replayed $replayed of $count routes"

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
}

# The author's warp: its values are those of replaying the route it prints
# from a new game (the route's own expects check them as well), the data
# folder is left as it was, and places no route reaches are refused.
values() { grep '^{' | tail -1 | python3 -c '
import json, sys
d = json.load(sys.stdin)
print(d["SceneNo"], d["StepNo"], d["Params"], d["Condition"], d["DayNo"], d["LastChoice"], d["ShownPic"])'; }
warp_and_replay() {  # PLACE [DATA-FOLDER]
  local data=${2:-$(mktemp -d -p "$work")} fresh
  fresh=$(mktemp -d -p "$work")
  local warped
  warped=$(echo state | "$pelmot" --headless --script - --data-dir "$data" --warp "$1" 2> "$work/route.txt" | values) ||
    fail "--warp $1: $(cat "$work/route.txt")"
  grep -v '^#' "$work/route.txt" | grep -qvE '^(click|pick|tick|shift|expect) ' && fail "--warp $1 printed more than the route"
  local replayed
  replayed=$( (cat "$work/route.txt"; echo state) | "$pelmot" --headless --script - --data-dir "$fresh" | values) ||
    fail "the route --warp $1 printed does not get there"
  [[ $warped == "$replayed" ]] || fail "--warp $1 gives $warped, its route $replayed"
}
warps() {
# A line after a choice in a pick lane, a choice, a day scene's line many
# clicks after its choice, a scene by itself, the game over, an ending
# (last: its route is played on below).
for place in 12:p0:s33 0:s69 "100 s12" 20 2 153:s3; do warp_and_replay "$place"; done
# Scene 160 only after an ending: refused on a new data folder, reached
# on one that holds an ending (the route plays an ending first). The
# route to scene 153, played on to the title, gives that ending.
ended=$(mktemp -d -p "$work")
(grep -v '^#' "$work/route.txt"; printf 'shift down\ntick 100000\nshift up\nexpect FlowMode 0\nexpect EndingNo 3\n') |
  "$pelmot" --headless --script - --data-dir "$ended" > /dev/null || fail "153 for an ending"
err=$(echo state | "$pelmot" --headless --script - --data-dir "$(mktemp -d -p "$work")" --warp 160 2>&1 > /dev/null)
[[ $? == 4 ]] || fail "--warp 160 without an ending was not refused"
grep -qx "pelmot: cannot warp to 160: only a play after an ending reaches 160, and this data folder holds no ending (finish one first, or give a --data-dir that has)" <<<"$err" || fail "160: $err"
before=$(cd "$ended" && find . -type f -print0 | sort -z | xargs -0 md5sum)
warp_and_replay 160 "$ended"
# Played on from there, seen pictures, read lines and the quit's stamp
# are not written, nor anything else of the data folder.
printf 'click 400 300\nclick 400 300\nkey f5\nanswer yes\nclose\n' |
  "$pelmot" --headless --script - --data-dir "$ended" --warp 100:s12 2> /dev/null || fail "playing on after a warp"
rm -f "$ended/TORMVEL/PELMOT/PELMOTQUICK.DAT"  # asked for by the player
after=$(cd "$ended" && find . -type f -print0 | sort -z | xargs -0 md5sum)
[[ $before == "$after" ]] || fail "a warp changed the data folder: $(diff <(echo "$before") <(echo "$after"))"
for bad in "99:no scene 99" "12:s34:has no step s34" "12:p2:s33:has no step s33 in lane p2" "0:s68x:a place is SCENE"; do
  err=$(echo state | "$pelmot" --headless --script - --data-dir "$(mktemp -d -p "$work")" --warp "${bad%:*}" 2>&1 >/dev/null)
  grep -q "^pelmot: cannot warp to ${bad%:*}: .*${bad##*:}" <<<"$err" || fail "--warp ${bad%:*}: $err"
done
}

# The author's overlay: F12 shows where the story stands, C copies the
# route so far; after a load that route is a warp to the loaded step and
# the clicks and picks since, and it gets there again. Then the drawing.
authoring() {
overlay=$(printf 'key f12\nstate\nclick 400 300\nkey c\nstate\n' |
  "$pelmot" --author --headless --script - --data-dir "$(mktemp -d -p "$work")" --warp 12:p0:s33 2> /dev/null) ||
  fail "the overlay after a warp"
python3 - "$overlay" <<'PY' || fail "the overlay's text"
import json, sys
first, second = [json.loads(l) for l in sys.argv[1].splitlines() if l.startswith("{")]
assert first["AuthorOverlay"] is True, first
assert first["ShownText"] == ("scene 12  lane p0  step 33  line ID 12 p0 s33\npicture 47\n"
    "P0 20  P1 0  P2 20  P3 0  Condition 6  day 2  last pick 0\npicks (4): 1 0 1 0\n"
    "C copies the route so far as a headless script"), first["ShownText"]
assert second["LastCopied"].endswith("warp 12:p0:s33\nclick 400 300\n"), second["LastCopied"]
PY
copy_and_replay() {  # the script before the copy
  local out copied replayed
  out=$( (cat; printf 'key f12\nkey c\nstate\n') |
    "$pelmot" --author --headless --script - --data-dir "$(mktemp -d -p "$work")" 2> /dev/null) || fail "copying the route"
  copied=$(grep '^{' <<<"$out" | tail -1 | python3 -c 'import json,sys; print(json.load(sys.stdin)["LastCopied"])')
  replayed=$( (echo "$copied"; echo state) | "$pelmot" --headless --script - --data-dir "$(mktemp -d -p "$work")" 2>/dev/null | values) ||
    fail "the copied route does not play: $copied"
  [[ $(values <<<"$out") == "$replayed" ]] || fail "the copied route gets to $replayed, not $(values <<<"$out")"
  echo "$copied"
}
# From a new game: the title's start, then the clicks and picks.
copied=$(printf 'click 400 300\nclick 400 300\npick 0\nshift down\ntick 100000\nshift up\npick 1\nclick 400 300\nshift down\ntick 100000\nshift up\npick 0\nclick 400 300\nclick 400 300\n' | copy_and_replay) || exit 1
grep -q '^pick 0$' <<<"$copied" && ! grep -q '^warp' <<<"$copied" || fail "a new game's route: $copied"
# After a quick load, with a pick since.
copied=$(printf 'click 400 300\nclick 400 300\npick 0\nshift down\ntick 100000\nshift up\npick 1\nclick 400 300\nclick 400 300\nkey f5\nclick 400 300\nkey f9\nclick 400 300\nshift down\ntick 100000\nshift up\npick 0\nclick 400 300\n' | copy_and_replay) || exit 1
grep -q '^warp 3:s2$' <<<"$copied" && grep -q '^pick 0$' <<<"$copied" || fail "a loaded game's route: $copied"

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
}

case $part in
  routes) replay_routes ;;
  warps) warps ;;
  authoring) authoring ;;
  *) fail "no part $part: routes, warps or authoring" ;;
esac
exit 0
