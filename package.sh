#!/usr/bin/env bash
# Builds the Debian package build-deb/pelmot_VERSION_ARCH.deb: the game, its
# movie helper, content, desktop entry, icons and manual page, installed
# below /usr. Reuses the build folder build/ of ./run.sh and ./test.sh and
# builds only what the package holds. Prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")"
tools/bootstrap.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target pelmot_playable pelmot_icons
tools/make_deb.sh build build-deb
