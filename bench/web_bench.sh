#!/usr/bin/env bash
# The browser edition in headless Chromium (web_bench.cjs): page load to the
# first logo frame with a cold cache, the bytes transferred, and the median
# step. Build it first with ./web.sh.
#
#   bench/web_bench.sh [BUILD_WEB] [LOAD_RUNS] [STEPS]
#
# Goals: the first frame within 1.5 s, a step of 1 ms or less (median).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
web=$(realpath "${1:-$here/../build-web}")
# shellcheck source=../tests/browser/node_env.sh
source "$here/../tests/browser/node_env.sh"
pelmot_node_ready || { echo "web_bench: chromium, node or npm missing" >&2; exit 77; }
[[ -f $web/index.html ]] || { echo "web_bench: no browser edition in $web: run ./web.sh" >&2; exit 1; }
exec node "$here/web_bench.cjs" "$web" "${2:-5}" "${3:-200}"
