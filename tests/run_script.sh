#!/usr/bin/env bash
# Plays one headless script on a fresh data root with the default content.
# A companion NAME.check beside the script, if there is one, then looks at
# the files the run left (it gets $pelmot and $folder).
set -uo pipefail
pelmot=$1
script=$2
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
"$pelmot" --headless --script "$script" --data-dir "$data" >/dev/null || exit $?
check=${script%.txt}.check
if [[ -f $check ]]; then
  folder="$data/TORMVEL/PELMOT" pelmot="$pelmot" bash -euo pipefail "$check"
fi
