# shellcheck shell=bash
# SDL2_image reading PNG (through libpng, which also saves PNG), BMP and GIF,
# which need nothing else. Nothing is loaded dynamically.
build_libsdl2_image() {
  mkdir -p "$1/wasm-build" && cd "$1/wasm-build" || return
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
  write_sdl2_image_pc "$1"
}

# SDL2_image installs a pkg-config file only for its shared build; the static
# one gets this, so that pkg-config --static also names libpng and zlib.
write_sdl2_image_pc() {
  local header=$1/SDL_image.h version part
  version=$(for part in MAJOR_VERSION MINOR_VERSION PATCHLEVEL; do
    awk -v name="SDL_IMAGE_${part}" '$1 == "#define" && $2 == name { print $3 }' "$header"
  done | paste -sd.)
  cat > "$PREFIX/lib/pkgconfig/SDL2_image.pc" <<PC
prefix=$PREFIX
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: SDL2_image
Description: image loading library for Simple DirectMedia Layer (PNG, BMP, GIF)
Version: $version
Requires: sdl2
Requires.private: libpng16
Libs: -L\${libdir} -lSDL2_image
Cflags: -I\${includedir}/SDL2
PC
}
