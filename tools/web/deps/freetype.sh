# shellcheck shell=bash
# FreeType for outline fonts: no HarfBuzz, Brotli, bzip2 or PNG. It uses the
# prefix's zlib: with zlib turned off it would compile its own copy of zlib
# in, whose symbols clash with the real one when both are linked.
# Only what the page's two faces (IPAGothic, DejaVu Sans: TrueType, both with
# hinting programs) need: the TrueType driver and its SFNT tables, and the
# anti-aliasing renderer. The auto-hinter would only run for faces without
# hinting programs, and the other drivers and renderers for other formats.
# This list is their only reference, so leaving them out of it keeps them
# out of the program.
write_ftmodule() {
  cat > "$1/include/freetype/config/ftmodule.h" <<'LIST'
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
FT_USE_MODULE( FT_Renderer_Class, ft_smooth_renderer_class )
LIST
}

build_freetype() {
  write_ftmodule "$1"
  mkdir -p "$1/wasm-build" && cd "$1/wasm-build" || return
  em_cmake .. -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_REQUIRE_ZLIB=ON \
    -DZLIB_INCLUDE_DIR="$PREFIX/include" -DZLIB_LIBRARY="$PREFIX/lib/libz.a"
  em_make
  em_make install
}
