#!/usr/bin/env bash
# The game core links no SDL, SDL_image, FreeType, fontconfig, FFmpeg,
# libgettextpo, libspeechd, libpng or libarchive: the probe program is linked from the
# core alone with every library on its link line kept, so its needed
# libraries are that line.
set -uo pipefail
probe=$1
needed=$(readelf -d "$probe" | sed -nE 's/.*\(NEEDED\).*\[(.*)\].*/\1/p')
if [[ -z $needed ]]; then
  echo "no needed libraries read from $probe" >&2
  exit 1
fi
forbidden=$(grep -iE '^lib(SDL2|freetype|fontconfig|av[a-z]*|sw[a-z]*|png|gettextpo|speechd|archive)' <<<"$needed")
if [[ -n $forbidden ]]; then
  echo "the core links platform libraries:" >&2
  echo "$forbidden" >&2
  exit 1
fi
echo "the core links only:" $needed
