#!/usr/bin/env bash
# Only src/platform may include SDL, FreeType, fontconfig, FFmpeg or OS headers.
set -uo pipefail
src=$1
pattern='#\s*include\s*[<"](SDL|ft2build|freetype|fontconfig|libav|libsw|unistd|fcntl|dlfcn|pthread|windows|sys/|X11/)'
found=$(grep -rnE "$pattern" "$src" --include='*.h' --include='*.cpp' | grep -v "^$src/platform/")
if [[ -n $found ]]; then
  echo "platform headers outside src/platform:" >&2
  echo "$found" >&2
  exit 1
fi
echo "no platform headers outside src/platform"
