#!/usr/bin/env bash
# The game in a real window under Xvfb: it opens, a click reaches the window's
# handler, and the screen shows the game. Skips (status 77) without Xvfb.
set -uo pipefail
PELMOT=$1
for tool in Xvfb xdotool import; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed; run tools/bootstrap.sh" >&2
    exit 77
  fi
done

work=$(mktemp -d)
cleanup() {
  # SIGKILL: a polite signal would ask the game to close, and it asks first.
  [[ -n ${game:-} ]] && kill -9 "$game" 2>/dev/null
  [[ -n ${xvfb:-} ]] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and tells its number, so tests running
# side by side never share a server.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
if [[ ! -s $work/display ]]; then
  echo "FAIL: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$(head -1 "$work/display")" SDL_AUDIODRIVER=dummy

"$PELMOT" --data-dir "$work/data" --trace >"$work/trace.txt" 2>&1 &
game=$!
window=""
# A loaded machine may take a while; give it half a minute.
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --name '^PELMOT$' 2>/dev/null | head -1)
  [[ -n $window ]] && break
  sleep 0.1
done
if [[ -z $window ]]; then
  echo "FAIL: no window appeared" >&2
  cat "$work/trace.txt" >&2
  exit 1
fi
sleep 0.5
xdotool mousemove --window "$window" 400 300 click 1
for _ in $(seq 50); do grep -q '^Form_MouseDown 1 0 400 300$' "$work/trace.txt" && break; sleep 0.1; done
if ! grep -q '^Form_MouseDown 1 0 400 300$' "$work/trace.txt"; then
  echo "FAIL: the click did not reach Form_MouseDown" >&2
  cat "$work/trace.txt" >&2
  exit 1
fi
sleep 0.3
import -window "$window" "$work/shot.png"
# The window shows the game's picture: not one flat colour.
colours=$(convert "$work/shot.png" -format '%k' info:)
if [[ ${colours:-0} -lt 2 ]]; then
  echo "FAIL: the window shows a single colour" >&2
  exit 1
fi
[[ -d ${PELMOT_SHOTS:-} ]] && cp "$work/shot.png" "$PELMOT_SHOTS/window_after_click.png"
echo "window opened, the click reached Form_MouseDown, the screen shows $colours colours"
