# shellcheck shell=bash
# shellcheck disable=SC2154  # work, game, window and the rest belong to window_test.sh
# Helpers for window_test.sh: an X server of its own, the game in it, and
# looking at what it shows. Sourced; expects PELMOT and work to be set.

# fail MESSAGE: ends the test, with the game's trace.
fail() {
  echo "FAIL: $*" >&2
  if [[ -n ${trace:-} && -f $trace ]]; then
    echo "--- trace:" >&2
    grep -av '^Form_KeyDown 16 1$\|^Presented ' "$trace" >&2
  fi
  exit 1
}

# keep FILE: a copy in $PELMOT_SHOTS, when it names a folder.
keep() { [[ -d ${PELMOT_SHOTS:-} ]] && cp "$work/$1" "$PELMOT_SHOTS/window_$1"; return 0; }
# The highest channel value (0 ... 255) in a part of a screenshot.
brightest() { convert "$1" -crop "$2" +repage -format '%[fx:round(255*maxima)]' info:; }
# How many pixels two pictures differ in.
differing() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }
# The root mean square difference of two pictures, 0 ... 1.
rmse() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'; }
# below A B: whether the number A is below B.
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
windows() { xdotool search --name '^PELMOT$' 2>/dev/null | wc -l; }
# The window's place and size on the screen: "X Y WIDTH HEIGHT".
geometry() {
  xwininfo -id "$window" 2>/dev/null | awk '
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }'
}
# wait_for TENTHS COMMAND...: runs COMMAND every 0.1 s until it succeeds.
wait_for() {
  local tries=$1
  shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}
# traced LINE [N]: whether the trace has LINE more than N times (default 0).
traced() { (($(grep -ac "^$1\$" "$trace") > ${2:-0})); }
size_is() { [[ $(geometry | cut -d' ' -f3-) == "$1 $2" ]]; }
place_is() { [[ $(geometry) == "$1" ]]; }
# shows FILE REFERENCE: takes a screenshot of the window into FILE and
# succeeds when it equals REFERENCE.
shows() {
  import -window "$window" "$1" 2>/dev/null && [[ $(differing "$1" "$2") == 0 ]]
}

# A window manager that supports the desktop hints names itself on the root.
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# start_x SIZE [WINDOW-MANAGER]: an X server of its own with one screen of
# SIZE (WIDTHxHEIGHT), and the window manager in it, if named. Xvfb picks a
# free display itself and tells its number, so tests running side by side
# never share a server.
start_x() {
  stop_x
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
  [[ -s $work/display ]] || fail "Xvfb did not start"
  DISPLAY=":$(head -1 "$work/display")"
  export DISPLAY SDL_AUDIODRIVER=dummy
  if [[ -n ${2:-} ]]; then
    "$2" >"$work/wm.txt" 2>&1 &
    wm=$!
    wait_for 100 wm_ready || fail "the window manager $2 did not start: $(cat "$work/wm.txt")"
  fi
}

stop_x() {
  [[ -n ${game:-} ]] && kill -9 "$game" 2>/dev/null
  [[ -n ${wm:-} ]] && kill "$wm" 2>/dev/null
  [[ -n ${xvfb:-} ]] && kill "$xvfb" 2>/dev/null
  [[ -n ${xvfb:-} ]] && wait "$xvfb" 2>/dev/null
  game="" wm="" xvfb=""
}

# start_game NAME [OPTION...]: the game on a data root of its own, with the
# options given and its trace in $work/NAME.trace; sets game, trace and
# window.
start_game() {
  trace="$work/$1.trace"
  local try
  # On a loaded machine a fresh Xvfb has now and then refused the game's
  # connection; the game then says it cannot open a window and ends, and
  # is started again.
  for try in 1 2 3; do
    "$PELMOT" --data-dir "$work/$1" --trace "${@:2}" >"$trace" 2>&1 &
    game=$!
    window=""
    # A loaded machine may take a while; give it half a minute.
    for _ in $(seq 300); do
      window=$(xdotool search --onlyvisible --name '^PELMOT$' 2>/dev/null | head -1)
      [[ -n $window ]] && break
      kill -0 "$game" 2>/dev/null || break
      sleep 0.1
    done
    [[ -n $window ]] && break
    grep -q '^pelmot: cannot open a window' "$trace" || break
    wait "$game"
    echo "start_game $1: try $try could not open a window: $(grep -m1 '^pelmot: ' "$trace")" >&2
  done
  [[ -n $window ]] || fail "no window appeared (named PELMOT, mapped or not: $(xdotool search --name '^PELMOT$' 2>&1 | tr '\n' ' ');" \
    "of the game's process: $(xdotool search --pid "$game" 2>&1 | tr '\n' ' '); game running: $(kill -0 "$game" 2>/dev/null && echo yes || echo no);" \
    "DISPLAY=$DISPLAY, the game's: $(tr '\0' '\n' <"/proc/$game/environ" 2>/dev/null | grep '^DISPLAY=' | tr '\n' ' ');" \
    "on every display: $(for d in /tmp/.X11-unix/X*; do echo "${d##*X}=$(DISPLAY=":${d##*X}" xdotool search --name '^PELMOT$' 2>&1 | tr '\n' ,)"; done | tr '\n' ' '))"
}

# click X Y [HANDLER]: a left click at X, Y of the window; with HANDLER,
# waits until the game's trace tells that HANDLER got it once more.
click() { click_in --window "$window" "$@"; }
# click_screen X Y [HANDLER]: the same at X, Y of the screen.
click_screen() { click_in "" "" "$@"; }
click_in() {
  local where=("$1" "$2") before=0
  shift 2
  [[ -z ${where[0]} ]] && where=()
  [[ -n ${3:-} ]] && before=$(grep -ac "^$3\$" "$trace")
  xdotool mousemove "${where[@]}" "$1" "$2" click 1
  if [[ -n ${3:-} ]]; then
    wait_for 50 traced "$3" "$before" || fail "the click at $1, $2 did not reach $3"
  fi
}

# new_game: from the logo to the story's first line as a player clicks: the
# logo closes, the title menu opens, its first item starts a game.
new_game() {
  sleep 1.5
  click 400 300 'Form_MouseDown 1 0 400 300'
  sleep 0.5
  click 400 300 'Form_MouseDown 1 0 400 300'
  sleep 0.3
  click 400 156 'MainPic_MouseDown 1 0 400 156'
}

# clipboard: what the X clipboard holds (nothing when no one holds it). The
# game answers for it from its event loop: a game that stopped pumping makes
# this give up after two seconds.
clipboard() { timeout 2 xclip -o -selection clipboard 2>/dev/null; }
# clipboard_is TEXT: whether the X clipboard holds TEXT; for
# `wait_for 50 clipboard_is "..." || fail "..."`.
clipboard_is() { [[ $(clipboard) == "$1" ]]; }
