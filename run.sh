#!/usr/bin/env bash
# Sets up, builds and starts PELMOT in a window. Options go to the game
# (see ./run.sh --help).
set -euo pipefail
cd "$(dirname "$0")"
tools/bootstrap.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Only what playing needs: the program, its movie helper and the content
# (no tests, no benchmarks).
cmake --build build -j"$(nproc)" --target pelmot_playable
exec build/pelmot "$@"
