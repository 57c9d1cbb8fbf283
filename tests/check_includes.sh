#!/usr/bin/env bash
# Four rules of the source tree:
# - only src/platform may include SDL, FreeType, fontconfig, FFmpeg,
#   libgettextpo, speech-dispatcher, libarchive or OS headers;
# - the game core touches no file or folder itself (no file streams, no
#   std::filesystem, no C file calls): it goes through Files
#   (platform/services.h), which the platform implements;
# - the game core sees the platform through its interfaces (the headers
#   directly in src/platform) only: the backends (platform/common, sdl,
#   headless, ffmpeg, web) are included by the platform itself and by src/main,
#   which wires them to the core;
# - the folders of src form layers, lowest first, and a file includes only
#   from its own folder or a lower one, so no two folders depend on each
#   other in a loop.
set -uo pipefail
src=$1
status=0

pattern='#\s*include\s*[<"](SDL|ft2build|freetype|fontconfig|libav|libsw|unistd|fcntl|dlfcn|pthread|windows|sys/|X11/|graphviz|emscripten|gettext-po|speech-dispatcher|libspeechd|archive\.h|archive_entry\.h)'
found=$(grep -rnE "$pattern" "$src" --include='*.h' --include='*.cpp' | grep -v "^$src/platform/")
if [[ -n $found ]]; then
  echo "platform headers outside src/platform:" >&2
  echo "$found" >&2
  status=1
fi

backends='#\s*include\s*"platform/(common|sdl|headless|ffmpeg|web)/'
found=$(grep -rnE "$backends" "$src" --include='*.h' --include='*.cpp' | grep -v -e "^$src/platform/" -e "^$src/main/")
if [[ -n $found ]]; then
  echo "backend headers included by the game core (only src/main wires the backends in):" >&2
  echo "$found" >&2
  status=1
fi

# std::remove is left out: it is also the algorithm.
files='#\s*include\s*<(fstream|filesystem)>|std::(ifstream|ofstream|fstream|filesystem)\b'
files+='|\b(fopen|freopen|fdopen|tmpfile|tmpnam|rename|open|opendir|mkdir|rmdir|unlink|creat|stat|lstat)\('
found=$(grep -rnE "$files" "$src" --include='*.h' --include='*.cpp' | grep -v -e "^$src/platform/" -e "^$src/main/")
if [[ -n $found ]]; then
  echo "file or folder access in the game core (it goes through Files, platform/services.h):" >&2
  echo "$found" >&2
  status=1
fi

# The interfaces and pure code directly in src/platform (the library the core
# links) include neither a backend nor a system library.
pure=$(find "$src/platform" -maxdepth 1 \( -name '*.h' -o -name '*.cpp' \) -exec grep -HnE "$pattern|$backends" {} +)
if [[ -n $pure ]]; then
  echo "system or backend headers in the platform's interfaces (src/platform/*):" >&2
  echo "$pure" >&2
  status=1
fi

layers=(platform game persist present shell scenes menus gallery flow comforts storymap app main)
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

while IFS= read -r line; do
  file=${line%%:*}
  [[ ${line#*:} =~ \"([^\"]+)\" ]] || continue
  target=${BASH_REMATCH[1]}
  [[ $target == */* ]] || continue
  from=${file#"$src"/}
  from=${from%%/*}
  to=${target%%/*}
  if [[ -z ${rank[$from]+x} ]]; then
    echo "$file: folder $from has no place in the layers" >&2
    status=1
  elif [[ -z ${rank[$to]+x} ]]; then
    echo "$file: includes $target from a folder that has no place in the layers" >&2
    status=1
  elif ((rank[$to] > rank[$from])); then
    echo "$file: $from includes $target from the higher folder $to" >&2
    status=1
  fi
done < <(grep -rnoE '#\s*include\s*"[^"]+"' "$src" --include='*.h' --include='*.cpp' | cut -d: -f1,3-)

((status == 0)) && echo "no platform headers outside src/platform; backends only in src/main;" \
  "no file access in the core; folders include only downwards (${layers[*]})"
exit $status
