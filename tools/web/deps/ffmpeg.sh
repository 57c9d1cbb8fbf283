# shellcheck shell=bash
# FFmpeg cut down to what the logo movie needs: LOGO.avi is MPEG-4 Part 2
# video (Simple Profile, yuv420p) in an AVI file. So: the mpeg4 decoder (it
# pulls in the h263 decoder and the mpeg4video parser), the avi demuxer and
# the file protocol. No swscale: the page turns the decoder's YUV 4:2:0
# pictures into 32-bit pixels itself. Built for size (--enable-small, which
# also takes FFmpeg's smaller code paths): the movie is small and short, and
# its decoding is far from a frame's budget. No floating-point DCT (the
# decoder's integer one is the default). No asm (wasm has none of FFmpeg's),
# no threads, nothing detected from the host.
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
    --disable-swresample --disable-postproc --disable-swscale \
    --enable-small --disable-faan \
    --enable-avcodec --enable-avformat --enable-avutil \
    --enable-protocol=file "${parts[@]}"
  em_make
  em_make install
}
