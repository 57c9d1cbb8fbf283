#!/usr/bin/env bash
# The English catalog the build writes beside the placeholder scenario
# translates every text of the template pelmot extracts from that content
# (msgcmp: none missing, none fuzzy), and the content check finds nothing
# to say about it.
#   english_catalog.sh PELMOT
set -euo pipefail
pelmot=$1
content=$(dirname "$pelmot")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

"$pelmot" --extract-text "$scratch/game.pot" --content "$content" >/dev/null
msgcmp "$content/lang/en.po" "$scratch/game.pot"
"$pelmot" --check-content "$content" >"$scratch/out" 2>"$scratch/err"
if grep 'lang/en.po' "$scratch/err"; then
  echo "english_catalog: the content check warns of lang/en.po" >&2
  exit 1
fi
if ! grep -Eq '/lang/en.po: ([0-9]+) of \1 texts translated$' "$scratch/out"; then
  cat "$scratch/out" >&2
  echo "english_catalog: lang/en.po is not wholly translated" >&2
  exit 1
fi
