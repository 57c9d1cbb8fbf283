# shellcheck shell=bash
# libpng, static, against the zlib in the prefix; no tools or tests.
build_libpng1_6() {
  mkdir -p "$1/wasm-build" && cd "$1/wasm-build" || return
  em_cmake .. -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DSKIP_INSTALL_PROGRAMS=ON \
    -DZLIB_INCLUDE_DIR="$PREFIX/include" -DZLIB_LIBRARY="$PREFIX/lib/libz.a"
  em_make
  em_make install
}
