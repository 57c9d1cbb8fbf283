# FreeType for outline fonts only: no HarfBuzz, Brotli, bzip2, PNG or zlib.
build_freetype() {
  mkdir -p "$1/wasm-build" && cd "$1/wasm-build"
  em_cmake .. -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_ZLIB=ON
  em_make
  em_make install
}
