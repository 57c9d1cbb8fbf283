#!/usr/bin/env bash
# Plays the browser edition in headless Chromium (browser_test.cjs). Skips
# (status 77) without Chromium, node or npm. PELMOT_SHOTS=DIR keeps the
# screenshots (logo, title, choice, after the load) in DIR.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
web=$(realpath "${1:-$here/../../build-web}")
# shellcheck source=node_env.sh
source "$here/node_env.sh"
pelmot_node_ready || { echo "browser test skipped: chromium, node or npm missing" >&2; exit 77; }
[[ -f $web/index.html ]] || { echo "no browser edition in $web: run ./web.sh" >&2; exit 1; }
exec node "$here/browser_test.cjs" "$web" "${PELMOT_SHOTS:-}"
