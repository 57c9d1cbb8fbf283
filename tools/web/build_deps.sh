#!/usr/bin/env bash
# Builds the libraries of the browser edition for WebAssembly from Debian's
# source packages with Debian's Emscripten, into a cache outside the tree:
#   ${XDG_CACHE_HOME:-$HOME/.cache}/pelmot-web/<key>/{include,lib}
# The key hashes the Debian versions involved and these scripts, so a run
# that finds its cache complete does nothing. See README.md beside this file.
#
# Usage: build_deps.sh [--print-prefix] [--force] [--keep-work] [--movie FILE]
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
# shellcheck source=/dev/null
for part in "$HERE"/deps/*.sh; do source "$part"; done

CACHE_ROOT=${PELMOT_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pelmot-web}
JOBS=${PELMOT_WEB_JOBS:-2}
TOOLS=(emscripten nodejs dpkg-dev cmake make pkg-config xz-utils fontconfig fonts-ipafont-gothic)

print_prefix=false force=false keep_work=false movie=""
while (($#)); do
  case $1 in
    --print-prefix) print_prefix=true ;;
    --force) force=true ;;
    --keep-work) keep_work=true ;;
    --movie) movie=$(realpath "$2"); shift ;;
    *) die "unknown option $1" ;;
  esac
  shift
done
[[ -n $movie || ! -f $ROOT/build/LOGO.avi ]] || movie=$ROOT/build/LOGO.avi

install_tools() {
  local pkg missing=()
  for pkg in "${TOOLS[@]}"; do
    [[ $(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null) == "install ok installed" ]] || missing+=("$pkg")
  done
  ((${#missing[@]})) || return 0
  log "installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
}

# What the cache depends on: the toolchain's versions, every source version
# apt offers for each library, and the text of these scripts.
manifest() {
  dpkg-query -W -f='${Package} ${Version}\n' emscripten binaryen llvm-14 clang-14 lld-14
  local name
  for name in "${SOURCE_PACKAGES[@]}"; do
    printf 'source %s %s\n' "$name" "$(source_versions "$name" | paste -sd, -)"
  done
  (cd "$HERE" && find . -path ./README.md -prune -o -type f -print | LC_ALL=C sort | xargs sha256sum)
}

build_all() {
  rm -rf "$PREFIX" "$WORK"
  mkdir -p "$PREFIX" "$WORK"
  export PKG_CONFIG_LIBDIR="$PREFIX/lib/pkgconfig" PKG_CONFIG_PATH=""
  local name version dir start
  for name in "${SOURCE_PACKAGES[@]}"; do
    start=$(now)
    (cd "$WORK" && fetch_source "$name") > "$WORK/fetched-$name"
    read -r version dir < "$WORK/fetched-$name"
    printf '%-14s %5d s  (fetch %s %s)\n' "fetch" $(($(now) - start)) "$name" "$version" >> "$PREFIX/timings.txt"
    printf '%s %s\n' "$name" "$version" >> "$PREFIX/built-from.txt"
    timed_build "$name" "$WORK/$dir"
  done
  start=$(now)
  "$HERE/smoke/run_smoke.sh" "$PREFIX" ${movie:+"$movie"} || die "the smoke test failed"
  printf '%-14s %5d s\n' "smoke" $(($(now) - start)) >> "$PREFIX/timings.txt"
}

main() {
  install_tools
  enable_deb_src
  local manifest_text key
  manifest_text=$(manifest)
  key=$(sha256sum <<< "$manifest_text" | cut -c1-16)
  PREFIX=$CACHE_ROOT/$key
  WORK=$CACHE_ROOT/work-$key
  export HERE PREFIX WORK JOBS
  if ! $force && [[ -f $PREFIX/complete.stamp ]] && [[ $(cat "$PREFIX/complete.stamp") == "$manifest_text" ]]; then
    $print_prefix && printf '%s\n' "$PREFIX"
    log "up to date: $PREFIX"
    return 0
  fi
  local start
  start=$(now)
  build_all
  $keep_work || rm -rf "$WORK"
  printf '%-14s %5d s\n' "total" $(($(now) - start)) >> "$PREFIX/timings.txt"
  printf '%s\n' "$manifest_text" > "$PREFIX/complete.stamp"
  log "built $PREFIX ($(du -sh "$PREFIX" | cut -f1)); timings in $PREFIX/timings.txt"
  $print_prefix && printf '%s\n' "$PREFIX"
  return 0
}

main
