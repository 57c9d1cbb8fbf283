# shellcheck shell=bash
# SDL2 with Emscripten's video and events; no audio (the game has none), no
# threads, no test library. The page uses SDL only to read pictures (through
# SDL2_image) and convert them to its own pixel format once, never in a
# frame: so SDL is compiled for size, and of the converters only the general
# ones for palette and packed sources are kept. Conversions they do not
# cover (blending, scaling, colour modulation) fall back to SDL's slow
# per-pixel blit; run-length encoding and YUV surfaces are left out.
SDL_LEAN_FLAGS="-DSDL_HAVE_BLIT_0=0 -DSDL_HAVE_BLIT_A=0 -DSDL_HAVE_BLIT_AUTO=0 -DSDL_HAVE_BLIT_N_RGB565=0"
SDL_LEAN_FLAGS+=" -DSDL_HAVE_RLE=0 -DSDL_HAVE_YUV=0"

build_libsdl2() {
  mkdir -p "$1/wasm-build" && cd "$1/wasm-build" || return
  em_cmake .. -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_TESTS=OFF \
    -DSDL_AUDIO=OFF -DSDL_PTHREADS=OFF -DSDL_THREADS=OFF \
    -DCMAKE_C_FLAGS="$SDL_LEAN_FLAGS" -DCMAKE_C_FLAGS_RELEASE="-Oz -DNDEBUG"
  em_make
  em_make install
}
