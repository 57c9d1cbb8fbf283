#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing PELMOT need,
# but only those that are missing. Safe to run again and again.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config python3
  libsdl2-dev libsdl2-image-dev
  libfreetype-dev libfontconfig-dev fonts-ipafont-gothic fonts-dejavu-core
  libgettextpo-dev gettext libspeechd-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  libpng-dev liblz4-dev libxxhash-dev zlib1g-dev libdeflate-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev lld
  graphviz librsvg2-bin
  xvfb xdotool x11-utils xclip imagemagick openbox
  emscripten nodejs npm chromium
  desktop-file-utils appstream lintian dpkg-dev file
  libarchive-dev
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] && continue
  # A Node.js from outside Debian brings its own npm, which Debian's npm
  # package conflicts with.
  [[ $pkg == npm ]] && command -v npm >/dev/null && continue
  missing+=("$pkg")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

SUDO=()
if [[ $(id -u) -ne 0 ]]; then
  SUDO=(sudo)
fi
echo "bootstrap: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" > /tmp/pelmot-bootstrap.log 2>&1 \
  || { cat /tmp/pelmot-bootstrap.log >&2; exit 1; }
