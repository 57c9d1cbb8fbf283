# shellcheck shell=bash
# Helpers shared by the dependency build steps.

log() { printf 'build_deps: %s\n' "$*" >&2; }
die() { log "error: $*"; exit 1; }

as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

# The source packages, in build order.
SOURCE_PACKAGES=(zlib libpng1.6 libsdl2 libsdl2-image freetype ffmpeg)

# Every version of a source package that apt knows, newest first.
source_versions() {
  apt-cache showsrc --only-source "$1" 2>/dev/null | awk '/^Version:/ { print $2 }' | sort -u |
    sort_debian_versions
}

sort_debian_versions() {
  local -a versions
  mapfile -t versions
  local i j
  for ((i = 1; i < ${#versions[@]}; i++)); do
    for ((j = i; j > 0; j--)); do
      dpkg --compare-versions "${versions[j]}" gt "${versions[j - 1]}" || break
      local t=${versions[j]}; versions[j]=${versions[j - 1]}; versions[j - 1]=$t
    done
  done
  ((${#versions[@]})) && printf '%s\n' "${versions[@]}"
}

# Fetches and unpacks one source package into the current folder, newest
# version first; an archive that no longer serves a version (or does not
# yet) makes it fall back to the next. Prints "VERSION DIRECTORY".
fetch_source() {
  local name=$1 version dir
  while read -r version; do
    if apt-get source -qq --only-source "$name=$version" > "fetch-$name.log" 2>&1; then
      dir=$(unpacked_dir "$name" "$version")
      [[ -d $dir ]] || die "apt-get source $name=$version made no $dir"
      printf '%s %s\n' "$version" "$dir"
      return 0
    fi
    log "$name $version could not be fetched; trying an older one"
  done < <(source_versions "$name")
  cat "fetch-$name.log" >&2
  die "no version of the source package $name could be fetched"
}

# The folder dpkg-source unpacks NAME VERSION into: the version without its
# epoch and Debian revision.
unpacked_dir() {
  local upstream=${2#*:}
  upstream=${upstream%-*}
  printf '%s-%s\n' "$1" "$upstream"
}

# Seconds since the epoch, for the timings file.
now() { date +%s; }

# Runs "build_NAME SOURCE_DIR" and notes how long it took. The build runs in
# a bash of its own, so that it stops at its first failing command (errexit
# is ignored in a function called on the left of ||).
timed_build() {
  local name=$1 dir=$2 start
  start=$(now)
  log "building $name"
  bash -euo pipefail -c 'for part in "$0"/deps/*.sh; do source "$part"; done; "$1" "$2"' \
    "$HERE" "build_${name//[-.]/_}" "$dir" > "$WORK/build-$name.log" 2>&1 ||
    { tail -n 60 "$WORK/build-$name.log" >&2; die "building $name failed (log: $WORK/build-$name.log)"; }
  printf '%-14s %5d s\n' "$name" $(($(now) - start)) >> "$PREFIX/timings.txt"
}

# CMake configured for Emscripten, finding only what is in the prefix.
em_cmake() {
  emcmake cmake -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_PREFIX_PATH="$PREFIX" \
    -DCMAKE_FIND_ROOT_PATH="$PREFIX" -DBUILD_SHARED_LIBS=OFF "$@"
}

em_make() { nice emmake make -j"$JOBS" "$@"; }
