#!/usr/bin/env bash
# pelmot --check-content DIR --watch on a copy of the build's scenario: it
# reports the check once, then after each edit only the problems that are
# new or mended (a problem moved by an edit above it is neither). Each
# expected line is waited for with a timeout; no fixed sleeps.
set -euo pipefail
pelmot=$1
content=$2
dir=$(mktemp -d)
scenario=$dir/scenario.txt
cp "$content/scenario.txt" "$scenario"
coproc WATCH { exec "$pelmot" --check-content "$dir" --watch 2>&1; }
watcher=$WATCH_PID
trap 'kill "$watcher" 2>/dev/null; rm -rf "$dir"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The next line it prints must match the pattern (bash glob).
expect_line() {
  local line
  IFS= read -r -t 20 line <&"${WATCH[0]}" || fail "no line within 20 s, expected: $1"
  [[ $line == $1 ]] || fail "expected '$1', got '$line'"
  echo "ok: $line"
}

# Replaces the scenario whole, as an editor that saves through a rename does.
edit() {
  sed "$1" "$scenario" >"$scenario.new"
  mv "$scenario.new" "$scenario"
}

line_of() { grep -n -F -- "$1" "$scenario" | head -1 | cut -d: -f1; }

expect_line "$scenario: no problems"

# A third option where the story offers two: one problem.
edit 's/^\(0 s69 > .*\)$/\1 | 三つ目/'
broken=$(line_of '| 三つ目')
expect_line "new: $scenario:$broken: *"
expect_line "1 problem(s) in $scenario"

# A comment above it moves the problem a line down: nothing to report, so
# the mend after it is the next thing printed (at the line the last check
# saw it on, which may be either).
edit '1i # a note at the top'
edit 's/ | 三つ目$//'
expect_line "mended: $scenario:*: *"
expect_line "$scenario: no problems"

# Written in place (no rename), two problems at once, then one mended.
in_place() {
  sed "$1" "$scenario" >"$dir/next"
  cat "$dir/next" >"$scenario"
}
in_place 's/^\(0 s69 > .*\)$/\1 | 三つ目/; s/^\(1 s6 > .*\)$/\1 | 四つ目/'
expect_line "new: $scenario:*"
expect_line "new: $scenario:*"
expect_line "2 problem(s) in $scenario"
in_place 's/ | 四つ目$//'
expect_line "mended: $scenario:$(line_of '1 s6 >'): *"
expect_line "1 problem(s) in $scenario"
