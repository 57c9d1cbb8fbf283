#!/usr/bin/env bash
# A short run of every fuzzing harness: SECONDS seconds each (default 5),
# starting from the seeds in fuzz/corpus plus the generated content of a
# normal build, if one is given. New inputs stay in a scratch folder; a
# crash's reproducer is kept in fuzz/findings and fails the run.
#   fuzz/run_short.sh BUILD_FUZZ [BUILD_NORMAL] [SECONDS]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
fuzzers=$1
content=${2:-}
seconds=${3:-5}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$here/findings"

failed=0
passed=0
for harness in ${PELMOT_FUZZ_HARNESSES:-scenario data_files script picture png movie catalog archive}; do
  corpus="$scratch/$harness"
  mkdir -p "$corpus"
  cp "$here/corpus/$harness"/* "$corpus"/
  if [[ -n $content ]]; then
    case $harness in
      scenario) cp "$content/scenario.txt" "$corpus"/ 2>/dev/null ;;
      movie) cp "$content/LOGO.avi" "$corpus"/ 2>/dev/null ;;
    esac
  fi
  # Leaks in the libraries the readers call (fontconfig, SDL_image, FFmpeg)
  # are not findings of these harnesses.
  if ! ASAN_OPTIONS=detect_leaks=0 "$fuzzers/fuzz_$harness" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -artifact_prefix="$here/findings/$harness-" "$corpus" \
      >"$scratch/$harness.log" 2>&1; then
    echo "fuzz_$harness found a fault; the reproducer is in fuzz/findings:" >&2
    tail -40 "$scratch/$harness.log" >&2
    failed=$((failed + 1))
  else
    passed=$((passed + 1))
    echo "fuzz_$harness: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$scratch/$harness.log")"
  fi
done
echo "fuzz: $passed passed, $failed failed"
((failed == 0))
