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

# Features neither face has, turned off in the options header: font
# variations, colour layers and SVG glyphs, BDF properties, Mac resource
# forks and incremental loading. The glyphs drawn are the same. (Glyph
# names stay: FreeType 2.12's made-up Unicode cmap calls for them.)
FT_UNUSED_OPTIONS=(TT_CONFIG_OPTION_GX_VAR_SUPPORT TT_CONFIG_OPTION_COLOR_LAYERS FT_CONFIG_OPTION_SVG
  TT_CONFIG_OPTION_BDF FT_CONFIG_OPTION_MAC_FONTS FT_CONFIG_OPTION_GUESSING_EMBEDDED_RFORK
  FT_CONFIG_OPTION_INCREMENTAL)
trim_ftoption() {
  local option
  for option in "${FT_UNUSED_OPTIONS[@]}"; do
    sed -i "s|^#define $option\b.*|/* #undef $option */|" "$1/include/freetype/config/ftoption.h"
  done
}

build_freetype() {
  write_ftmodule "$1"
  trim_ftoption "$1"
  mkdir -p "$1/wasm-build" && cd "$1/wasm-build" || return
  em_cmake .. -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_REQUIRE_ZLIB=ON \
    -DZLIB_INCLUDE_DIR="$PREFIX/include" -DZLIB_LIBRARY="$PREFIX/lib/libz.a"
  em_make
  em_make install
}
