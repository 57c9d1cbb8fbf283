#!/usr/bin/env bash
# A second content folder for the benchmarks: the build's default content
# with every story picture (PELMOTPIC/N.png) replaced by one of the peer
# workload's twenty noisy 800x600 backgrounds (about 1 MB each), cycling, so
# our story runs on the same kind of pictures the peer engine is timed on.
#
#   bench/peer_content.sh OUT [BUILD] [PEER_BENCH]
#
# OUT         the folder to make (replaced if it exists); play it with
#             `pelmot --content OUT`
# BUILD       the build folder whose content is copied (default: build)
# PEER_BENCH  the peer workload's folder (default: ../shared/peer-bench); it
#             is copied to a temporary folder first, since it may be read-only,
#             unless its pictures (assets/bg01.png ... bg20.png) exist already
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:?usage: peer_content.sh OUT [BUILD] [PEER_BENCH]}
build=${2:-$here/../build}
peer=${3:-$here/../../shared/peer-bench}

for item in scenario.txt SYSPIC PELMOTPIC LOGO.avi; do
  [[ -e $build/$item ]] || { echo "peer_content: $build has no $item (build first)" >&2; exit 2; }
done

assets=$peer/assets
if [[ ! -f $assets/bg20.png ]]; then
  copy=$(mktemp -d)
  trap 'rm -rf "$copy"' EXIT
  cp -r "$peer/." "$copy/"
  chmod -R u+w "$copy"
  "$copy/gen_assets.sh" >&2
  assets=$copy/assets
fi
backgrounds=("$assets"/bg*.png)
((${#backgrounds[@]} == 20)) || { echo "peer_content: expected 20 pictures in $assets" >&2; exit 2; }

rm -rf "$out"
mkdir -p "$out/PELMOTPIC"
cp -r "$build/scenario.txt" "$build/SYSPIC" "$build/LOGO.avi" "$out/"
count=0
for picture in "$build"/PELMOTPIC/*.png; do
  name=$(basename "$picture" .png)
  [[ $name =~ ^[0-9]+$ ]] || { cp "$picture" "$out/PELMOTPIC/"; continue; }
  cp "${backgrounds[$((name % 20))]}" "$out/PELMOTPIC/$name.png"
  count=$((count + 1))
done
echo "peer_content: $out has $count story pictures from $assets" >&2
