#!/usr/bin/env bash
# Builds the browser edition into build-web/: index.html, the program
# (pelmot.js, pelmot.wasm), what the first frame needs packed beside it
# (content.data, content.js), the rest of the content as loose files the page
# fetches when it needs them (content/), the service worker (sw.js), the web
# app manifest and its icons. With --serve, also serves build-web/ on
# 127.0.0.1:8000.
#
# The libraries come from tools/web/build_deps.sh (a cache outside the tree,
# built once); the default content (pictures, scenario, logo movie) from the
# native build in build/ (the translations in lang/ compiled with msgfmt); the
# fonts from Debian's fonts-ipafont-gothic (the window's) and fonts-dejavu-core
# (the western face), each with its licence.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")" && pwd)
OUT=$ROOT/build-web
NATIVE=$ROOT/build
FONT_DIR=/usr/share/fonts/opentype/ipafont-gothic
FONT_DOC=/usr/share/doc/fonts-ipafont-gothic
WESTERN_FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
WESTERN_DOC=/usr/share/doc/fonts-dejavu-core
PORT=8000
JOBS=${PELMOT_WEB_JOBS:-2}

serve=false
case ${1:-} in
  --serve) serve=true ;;
  "") ;;
  *) echo "usage: $0 [--serve]" >&2; exit 2 ;;
esac

say() { printf 'web.sh: %s\n' "$*" >&2; }
# Runs a step with its output added to build-web/cmake/web.log, shown only
# when the step fails.
LOG=$OUT/cmake/web.log
quietly() {
  local from
  from=$(wc -l <"$LOG")
  "$@" >>"$LOG" 2>&1 || { tail -n +"$((from + 1))" "$LOG" >&2; say "failed: $*"; exit 1; }
}
mkdir -p "$OUT/cmake"
: >"$LOG"
seconds() { echo "$EPOCHREALTIME"; }
took() { awk -v what="$1" -v from="$2" -v to="$(seconds)" 'BEGIN { printf "web.sh: %s %.1f s\n", what, to - from }' >&2; }

"$ROOT/tools/bootstrap.sh"
start=$(seconds)
PREFIX=$("$ROOT/tools/web/build_deps.sh" --print-prefix | tail -n 1)
took "libraries (tools/web/build_deps.sh):" "$start"
[[ -f $FONT_DIR/ipag.ttf ]] || { say "IPAGothic is missing: run tools/bootstrap.sh"; exit 1; }
[[ -f $WESTERN_FONT ]] || { say "DejaVu Sans is missing: run tools/bootstrap.sh"; exit 1; }

# The default content, made by the native build's generators.
start=$(seconds)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
[[ -f $NATIVE/CMakeCache.txt ]] ||
  quietly cmake -S "$ROOT" -B "$NATIVE" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}"
# The app's icons (pelmot_icons) are drawn from the game's pictures.
quietly cmake --build "$NATIVE" -j"$JOBS" --target pelmot_pictures pelmot_logo_movie default_scenario pelmot_icons
took "content (native generators):" "$start"

# The program, with Emscripten.
start=$(seconds)
export PKG_CONFIG_LIBDIR=$PREFIX/lib/pkgconfig PKG_CONFIG_PATH=""
# shellcheck source=/dev/null
source "$ROOT/tools/web/deps/em_env.sh"
# pkg-config's answers are cached by CMake: a build folder configured
# against other libraries starts afresh, or it would link the old ones.
stamp=$OUT/cmake/libraries-prefix
if [[ ! -f $stamp || $(cat "$stamp") != "$PREFIX" ]]; then
  rm -rf "$OUT/cmake/CMakeCache.txt" "$OUT/cmake/CMakeFiles"
  echo "$PREFIX" >"$stamp"
fi
quietly emcmake cmake -S "$ROOT" -B "$OUT/cmake" -DPELMOT_WEB=ON -DCMAKE_BUILD_TYPE=Release \
  -DPELMOT_WEB_OUTPUT="$OUT" "${launcher[@]}"
quietly cmake --build "$OUT/cmake" -j"$JOBS"
took "program (emcc):" "$start"

# The content as the page's file system sees it under /content: what the
# first frame needs (scenario, logo movie, translations, the system pictures
# and the title picture) packed into content.data, loaded before the program
# starts; the story's pictures and the fonts as loose files below content/,
# fetched once the first frame is on screen (web_content.js).
start=$(seconds)
stage=$OUT/cmake/content
late=$OUT/content
rm -rf "$stage" "$late"
mkdir -p "$stage/PELMOTPIC" "$late/font" "$late/PELMOTPIC"
cp -r "$NATIVE/SYSPIC" "$NATIVE/LOGO.avi" "$NATIVE/scenario.txt" "$stage/"
cp "$NATIVE/PELMOTPIC/0.png" "$stage/PELMOTPIC/"
find "$NATIVE/PELMOTPIC" -maxdepth 1 -name '*.png' ! -name 0.png -exec cp -t "$late/PELMOTPIC" {} +
cp "$FONT_DIR/ipag.ttf" "$WESTERN_FONT" "$late/font/"
# The translations, compiled: the page reads lang/CODE.mo.
mkdir -p "$stage/lang"
for po in "$NATIVE"/lang/*.po; do
  [[ -e $po ]] || continue
  quietly msgfmt --check-format -o "$stage/lang/$(basename "$po" .po).mo" "$po"
done
(cd "$OUT/cmake" && quietly python3 /usr/share/emscripten/tools/file_packager.py "$OUT/content.data" \
  --preload "content@/content" --js-output="$OUT/content.js")
# The fetched files, fonts first, then the pictures in the story's order.
(cd "$late" && { ls font/*.ttf; ls PELMOTPIC/*.png | sort -t/ -k2 -n; }) |
  python3 -c 'import json, sys; print("Module.pelmotLateFiles = %s;" % json.dumps(sys.stdin.read().split()))' \
  >"$OUT/late.js"
# The fonts' licences, readable beside the page.
mkdir -p "$OUT/font"
cp "$FONT_DOC/copyright" "$OUT/font/COPYRIGHT"
cp "$FONT_DOC"/Readme_IPAfont*.txt "$OUT/font/"
cp "$WESTERN_DOC/copyright" "$OUT/font/DejaVuSans-COPYRIGHT"
took "content packed:" "$start"

# The installable app: the manifest, its icons, and the service worker that
# keeps every file of this build for playing offline.
start=$(seconds)
rm -rf "$OUT/icons"
mkdir -p "$OUT/icons"
cp "$NATIVE/icons/pelmot-192.png" "$NATIVE/icons/pelmot-512.png" "$OUT/icons/"
python3 "$ROOT/src/platform/web/make_offline.py" "$OUT" "$ROOT/src/platform/web"
took "app and service worker:" "$start"

grep -E 'warning:' "$LOG" >&2 || true
for f in index.html pelmot.js pelmot.wasm content.js content.data late.js sw.js; do
  printf '  %-13s %9d bytes\n' "$f" "$(stat -c %s "$OUT/$f")" >&2
done
printf '  %-13s %9d bytes\n' content/ "$(du -sb "$OUT/content" | cut -f1)" >&2

if $serve; then
  say "serving on http://127.0.0.1:$PORT/ (Ctrl+C stops)"
  echo "http://127.0.0.1:$PORT/"
  exec python3 -m http.server "$PORT" --bind 127.0.0.1 --directory "$OUT"
fi
