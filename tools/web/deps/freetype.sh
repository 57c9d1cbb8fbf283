# shellcheck shell=bash
# FreeType for outline fonts: no HarfBuzz, Brotli, bzip2 or PNG. It uses the
# prefix's zlib: with zlib turned off it would compile its own copy of zlib
# in, whose symbols clash with the real one when both are linked.
build_freetype() {
  mkdir -p "$1/wasm-build" && cd "$1/wasm-build" || return
  em_cmake .. -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_REQUIRE_ZLIB=ON \
    -DZLIB_INCLUDE_DIR="$PREFIX/include" -DZLIB_LIBRARY="$PREFIX/lib/libz.a"
  em_make
  em_make install
}
