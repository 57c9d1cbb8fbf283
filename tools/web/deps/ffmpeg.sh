# shellcheck shell=bash
# FFmpeg cut down to what the logo movie needs: LOGO.avi is MPEG-4 Part 2
# video (Simple Profile, yuv420p) in an AVI file. So: the mpeg4 decoder (it
# pulls in the h263 decoder and the mpeg4video parser), the avi demuxer, the
# file protocol and swscale for the conversion to 32-bit pixels. No asm (wasm
# has none of FFmpeg's), no threads, nothing detected from the host.
FFMPEG_DECODERS=(mpeg4)
FFMPEG_DEMUXERS=(avi)

build_ffmpeg() {
  cd "$1" || return
  local -a parts=()
  local d
  for d in "${FFMPEG_DECODERS[@]}"; do parts+=("--enable-decoder=$d"); done
  for d in "${FFMPEG_DEMUXERS[@]}"; do parts+=("--enable-demuxer=$d"); done
  nice emconfigure ./configure --prefix="$PREFIX" \
    --cc=emcc --cxx=em++ --ar=emar --ranlib=emranlib --nm=emnm \
    --target-os=none --arch=x86_32 --enable-cross-compile \
    --disable-asm --disable-inline-asm --disable-x86asm --disable-runtime-cpudetect \
    --disable-pthreads --disable-w32threads --disable-os2threads \
    --disable-autodetect --disable-network --disable-debug --disable-stripping \
    --disable-doc --disable-programs --enable-static --disable-shared \
    --disable-everything --disable-avdevice --disable-avfilter \
    --disable-swresample --disable-postproc \
    --enable-avcodec --enable-avformat --enable-avutil --enable-swscale \
    --enable-protocol=file "${parts[@]}"
  em_make
  em_make install
}
