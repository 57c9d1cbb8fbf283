#!/usr/bin/env bash
# The command line's own answers: --version in a form dpkg accepts, --help
# with every option and the exit statuses, and each error on standard error
# starting with "pelmot: " with its documented exit status.
#   command_line.sh PELMOT
set -uo pipefail
pelmot=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() {
  echo "command_line: $*" >&2
  failed=1
}

version=$("$pelmot" --version) || fail "--version failed"
if [[ $version =~ ^pelmot\ ([0-9][0-9A-Za-z.+~]*)$ ]]; then
  if command -v dpkg >/dev/null; then
    dpkg --validate-version "${BASH_REMATCH[1]}" || fail "dpkg refuses the version ${BASH_REMATCH[1]}"
  fi
else
  fail "--version printed \"$version\""
fi

help=$("$pelmot" --help)
for option in --data-dir --content --headless --script --check-content --inspect-save --story-map --lang \
  --extract-text --trace --help --version; do
  grep -qE -- "^  (.* )?$option([ ,]|$)" <<<"$help" || fail "--help does not list $option"
done
for status in 0 1 2 3 4; do
  grep -q "^  $status  " <<<"$help" || fail "--help does not tell of exit status $status"
done

# expect STATUS ARGS...: the run ends with STATUS and standard error's first
# line starts with "pelmot: "; lines after a blank one (the usage) aside,
# every line does.
expect() {
  local want=$1
  shift
  "$@" </dev/null >/dev/null 2>"$scratch/err"
  local got=$?
  [[ $got == "$want" ]] || fail "$* ended with $got, not $want: $(cat "$scratch/err")"
  [[ -s $scratch/err ]] || fail "$* said nothing on standard error"
  local line
  while IFS= read -r line && [[ -n $line ]]; do
    [[ $line == "pelmot: "* ]] || fail "$* wrote \"$line\""
  done <"$scratch/err"
}

no=$scratch/no-such
printf 'state\n' >"$scratch/script.txt"
expect 2 "$pelmot" --no-such-option
expect 2 "$pelmot" --data-dir
expect 2 "$pelmot" --headless
expect 2 "$pelmot" --script "$scratch/script.txt"
expect 2 "$pelmot" --headless --script "$no" --data-dir "$scratch"
expect 4 "$pelmot" --headless --script "$scratch/script.txt" --data-dir "$scratch" --content "$no"
expect 4 "$pelmot" --headless --script "$scratch/script.txt" --data-dir "$scratch" --lang xx
expect 1 "$pelmot" --inspect-save "$no"
expect 1 "$pelmot" --check-content "$no"
expect 1 "$pelmot" --extract-text "$scratch/out.pot" --content "$no"
expect 1 "$pelmot" --story-map "$scratch/map.txt"
# With no display to reach the game says so and ends, rather than playing on
# unseen off screen.
expect 1 timeout 20 env -u SDL_VIDEODRIVER -u WAYLAND_DISPLAY DISPLAY=:9999 XDG_RUNTIME_DIR="$scratch" \
  "$pelmot" --data-dir "$scratch/window"
exit $failed
