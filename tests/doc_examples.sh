#!/usr/bin/env bash
# Plays every script example of a document: each fenced block without a
# language (``` alone) is a script, run on a fresh data root with the default
# content, and must end with status 0. Blocks with a language (```sh) are
# command lines and are left alone.
set -uo pipefail
pelmot=$1
doc=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk -v out="$work/block" '
  /^```/ {
    if (inside == "script") close(file)
    if (inside != "") { inside = ""; next }
    if ($0 == "```") { inside = "script"; file = sprintf("%s-%04d.txt", out, NR + 1) }
    else inside = "other"
    next
  }
  inside == "script" { print > file }
' "$doc"

failed=0
count=0
for block in "$work"/block-*.txt; do
  [[ -e $block ]] || continue
  count=$((count + 1))
  line=${block##*-}
  line=$((10#${line%.txt}))
  data=$(mktemp -d -p "$work")
  if ! "$pelmot" --headless --script "$block" --data-dir "$data" >"$work/out" 2>"$work/err"; then
    echo "$doc:$line: the example starting here fails:" >&2
    cat "$work/err" >&2
    failed=1
  fi
done
if ((count == 0)); then
  echo "$doc: no script examples found" >&2
  exit 1
fi
exit $failed
