#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a normal build (with the window
# test under Xvfb), once under AddressSanitizer and UndefinedBehaviorSanitizer,
# a few seconds of each fuzzing harness (docs/fuzzing.md), and last the
# browser edition, built with web.sh and played in headless Chromium.
set -euo pipefail
cd "$(dirname "$0")"
tools/bootstrap.sh
jobs=$(nproc)

# Runs a step, then says its wall time and the CPU time of all it ran.
step() {
  local what=$1 TIMEFORMAT
  shift
  TIMEFORMAT="test.sh: $what: %0R s, CPU %0U s user + %0S s sys"
  time "$@"
}
in_dir() { (cd "$1" && shift && "$@"); }

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
step "build" cmake --build build -j"$jobs"
step "ctest" in_dir build ctest --output-on-failure -j"$jobs" -E browser_play

# Leaks are reported, except what fontconfig and SDL keep for the life of
# the process. The content generators run under the sanitizers too.
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DPELMOT_SANITIZE=ON -DPELMOT_BENCH=OFF >/dev/null
step "sanitizer build" cmake --build build-sanitize -j"$jobs"
step "sanitizer ctest" in_dir build-sanitize ctest --output-on-failure -j"$jobs" -E 'window_under_xvfb|browser_play'

# Each reader of the game's files fuzzed for a few seconds, from the kept
# seeds and the content the normal build generated.
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMOT_FUZZ=ON \
  -DPELMOT_TESTS=OFF -DPELMOT_BENCH=OFF >/dev/null
step "fuzz build" cmake --build build-fuzz -j"$jobs" --target fuzzers
step "fuzz runs" fuzz/run_short.sh build-fuzz build 5

# The browser edition: its libraries are built once into a cache outside the
# tree (tools/web/build_deps.sh), the program and the content on every run.
step "browser build" ./web.sh
cmake -S . -B build >/dev/null  # registers the browser test now that build-web exists
step "browser ctest" in_dir build ctest --output-on-failure --no-tests=error -R browser_play
