# shellcheck shell=bash
# zlib: the static library and its header, for libpng.
build_zlib() {
  cd "$1" || return
  CFLAGS="-O2" nice emconfigure ./configure --static --prefix="$PREFIX"
  em_make libz.a
  em_make install
}
