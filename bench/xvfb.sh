# Sourced by the window benchmarks: a private X server on a free-looking
# display, made the current DISPLAY, and gone with the script. A script
# that sources this kills $xvfb in its own clean-up.
start_xvfb() {
  local display=":$((100 + RANDOM % 400))"
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=$display SDL_AUDIODRIVER=dummy
  for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
}
