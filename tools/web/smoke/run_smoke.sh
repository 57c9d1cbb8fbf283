#!/usr/bin/env bash
# Builds the smoke test against a dependency prefix and runs it under node.
# Usage: run_smoke.sh PREFIX [MOVIE]
set -euo pipefail
prefix=$1
movie=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=/dev/null
source "$here/../deps/em_env.sh"
font=$(fc-match -f '%{file}' 'IPAGothic' 2>/dev/null || true)
[[ -f $font ]] || font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH=""
read -r -a flags <<< "$(pkg-config --static --cflags --libs sdl2 SDL2_image freetype2 \
  libavformat libavcodec libavutil)"
# Synchronous compilation: node then reads the .wasm itself instead of fetching it.
emcc -O2 -Wall -Wextra -Werror "$here/smoke.c" "${flags[@]}" \
  -sNODERAWFS=1 -sWASM_ASYNC_COMPILATION=0 -sALLOW_MEMORY_GROWTH=1 -o "$out/smoke.js"
args=("$font")
[[ -n $movie ]] && args+=("$movie")
node "$out/smoke.js" "${args[@]}"
