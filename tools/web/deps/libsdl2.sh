# shellcheck shell=bash
# SDL2 with Emscripten's video and events; no audio (the game has none), no
# threads, no test library.
build_libsdl2() {
  mkdir -p "$1/wasm-build" && cd "$1/wasm-build" || return
  em_cmake .. -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_TESTS=OFF \
    -DSDL_AUDIO=OFF -DSDL_PTHREADS=OFF -DSDL_THREADS=OFF
  em_make
  em_make install
}
