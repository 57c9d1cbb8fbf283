#!/usr/bin/env bash
# Plays one headless script on a fresh data root with the default content.
set -uo pipefail
pelmot=$1
script=$2
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
"$pelmot" --headless --script "$script" --data-dir "$data" >/dev/null
