# SDL2_image reading PNG (through libpng, which also saves PNG), BMP and GIF,
# which need nothing else. Nothing is loaded dynamically.
build_libsdl2_image() {
  mkdir -p "$1/wasm-build" && cd "$1/wasm-build"
  local -a formats=()
  local f
  for f in AVIF JPG JXL LBM PCX PNM QOI SVG TGA TIF WEBP XCF XPM XV; do
    formats+=("-DSDL2IMAGE_$f=OFF")
  done
  em_cmake .. -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_DEPS_SHARED=OFF -DSDL2IMAGE_SAMPLES=OFF \
    -DSDL2IMAGE_TESTS=OFF -DSDL2IMAGE_BACKEND_STB=OFF \
    -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_BMP=ON -DSDL2IMAGE_GIF=ON "${formats[@]}" \
    -DSDL2_DIR="$PREFIX/lib/cmake/SDL2" \
    -DPNG_PNG_INCLUDE_DIR="$PREFIX/include" -DPNG_LIBRARY="$PREFIX/lib/libpng16.a" \
    -DZLIB_INCLUDE_DIR="$PREFIX/include" -DZLIB_LIBRARY="$PREFIX/lib/libz.a"
  em_make
  em_make install
}
