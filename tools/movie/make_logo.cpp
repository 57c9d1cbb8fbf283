// Makes the default logo movie: "PELMOT" fading in over black with a line
// drawn out beneath it, 630 x 220 pixels (it plays at 85, 190 of the window,
// so it sits in the middle), 15 pictures a second for three seconds, MPEG-4
// part 2 in AVI with no B-frames.
//
//   pelmot_make_logo OUT.avi [FONT.ttf]
//   pelmot_make_logo --grey WIDTH OUT.avi    (two light grey pictures, WIDTH x 16)
//
// Without a font the letters are drawn from a built-in block alphabet.
#include <ft2build.h>
#include FT_FREETYPE_H

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 630;
constexpr int kHeight = 220;
constexpr int kRate = 15;
constexpr int kFrames = 3 * kRate;
constexpr const char* kWord = "PELMOT";

// The letters' coverage (0 ... 255), drawn once and faded per picture.
struct Mask {
  std::vector<std::uint8_t> a = std::vector<std::uint8_t>(kWidth * kHeight, 0);
  void Cover(int x, int y, int value) {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
    auto& p = a[y * kWidth + x];
    p = static_cast<std::uint8_t>(std::max<int>(p, value));
  }
};

bool DrawWithFont(const char* fontPath, Mask& mask, int baseline) {
  FT_Library lib;
  if (FT_Init_FreeType(&lib)) return false;
  FT_Face face;
  if (FT_New_Face(lib, fontPath, 0, &face) || FT_Set_Pixel_Sizes(face, 0, 96)) {
    FT_Done_FreeType(lib);
    return false;
  }
  // Letter-spaced: each advance plus 14 pixels, centred as a whole.
  const int spacing = 14;
  int total = 0;
  for (const char* c = kWord; *c; ++c) {
    FT_Load_Char(face, static_cast<FT_ULong>(*c), FT_LOAD_DEFAULT);
    total += static_cast<int>(face->glyph->advance.x >> 6) + (c[1] ? spacing : 0);
  }
  int pen = (kWidth - total) / 2;
  for (const char* c = kWord; *c; ++c) {
    FT_Load_Char(face, static_cast<FT_ULong>(*c), FT_LOAD_RENDER);
    const FT_GlyphSlot g = face->glyph;
    for (unsigned row = 0; row < g->bitmap.rows; ++row)
      for (unsigned col = 0; col < g->bitmap.width; ++col)
        mask.Cover(pen + g->bitmap_left + static_cast<int>(col), baseline - g->bitmap_top + static_cast<int>(row),
                   g->bitmap.buffer[row * g->bitmap.pitch + col]);
    pen += static_cast<int>(g->advance.x >> 6) + spacing;
  }
  FT_Done_Face(face);
  FT_Done_FreeType(lib);
  return true;
}

// Five by seven block letters, for a machine without the font.
void DrawBlocks(Mask& mask, int baseline) {
  static const char* const kGlyphs[] = {
      "11110100011000111110100001000010000",  // P
      "11111100001000011110100001000011111",  // E
      "10000100001000010000100001000011111",  // L
      "10001110111010110001100011000110001",  // M
      "01110100011000110001100011000101110",  // O
      "11111001000010000100001000010000100",  // T
  };
  const int cell = 11, gap = 22, letters = 6;
  const int width = letters * 5 * cell + (letters - 1) * gap;
  int left = (kWidth - width) / 2;
  for (int l = 0; l < letters; ++l, left += 5 * cell + gap)
    for (int i = 0; i < 35; ++i)
      if (kGlyphs[l][i] == '1')
        for (int y = 0; y < cell; ++y)
          for (int x = 0; x < cell; ++x)
            mask.Cover(left + (i % 5) * cell + x, baseline - 7 * cell + (i / 5) * cell + y, 255);
}

double Ease(double t) {
  t = std::clamp(t, 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// Picture n as 0x00RRGGBB words.
void Compose(const Mask& mask, int n, int lineY, std::vector<std::uint32_t>& out) {
  const double t = static_cast<double>(n) / kRate;
  const double fade = Ease((t - 0.1) / 1.1);
  const double half = Ease((t - 0.4) / 1.2) * 230;  // the line grows from the middle
  std::fill(out.begin(), out.end(), 0);
  for (int i = 0; i < kWidth * kHeight; ++i) {
    const double a = mask.a[i] / 255.0 * fade;
    out[i] = (static_cast<std::uint32_t>(240 * a) << 16) | (static_cast<std::uint32_t>(224 * a) << 8) |
             static_cast<std::uint32_t>(176 * a);
  }
  for (int x = static_cast<int>(kWidth / 2 - half); x < kWidth / 2 + half; ++x) {
    // The line's ends fade out.
    const double edge = std::min(1.0, (half - std::abs(x - kWidth / 2.0)) / 40.0);
    const auto v = static_cast<std::uint32_t>(150 * std::max(0.0, edge));
    out[lineY * kWidth + x] = (v << 16) | (v << 8) | v;
  }
}

bool Fail(const char* what, int code = 0) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  if (code) av_strerror(code, text, sizeof text);
  std::fprintf(stderr, "pelmot_make_logo: %s%s%s\n", what, code ? ": " : "", text);
  return false;
}

// Drains the encoder's packets into the file.
bool WritePackets(AVCodecContext* enc, AVFormatContext* out, AVStream* stream, AVPacket* pkt) {
  while (true) {
    int rc = avcodec_receive_packet(enc, pkt);
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
    if (rc < 0) return Fail("encoding failed", rc);
    av_packet_rescale_ts(pkt, enc->time_base, stream->time_base);
    pkt->stream_index = stream->index;
    rc = av_interleaved_write_frame(out, pkt);
    if (rc < 0) return Fail("writing failed", rc);
  }
}

// The movie's size and length, and what paints each of its pictures.
struct MovieShape {
  int width, height, frames;
  std::function<void(int n, std::vector<std::uint32_t>& rgb)> paint;
};

bool Encode(const std::string& path, const MovieShape& movie) {
  AVFormatContext* out = nullptr;
  int rc = avformat_alloc_output_context2(&out, nullptr, "avi", path.c_str());
  if (rc < 0) return Fail("no AVI writer", rc);
  out->flags |= AVFMT_FLAG_BITEXACT;  // the same bytes on every build
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  if (!codec) return Fail("no MPEG-4 encoder");
  AVStream* stream = avformat_new_stream(out, nullptr);
  AVCodecContext* enc = avcodec_alloc_context3(codec);
  enc->width = movie.width;
  enc->height = movie.height;
  enc->pix_fmt = AV_PIX_FMT_YUV420P;
  enc->time_base = AVRational{1, kRate};
  enc->framerate = AVRational{kRate, 1};
  enc->gop_size = kRate;
  enc->max_b_frames = 0;
  enc->thread_count = 1;
  enc->flags |= AV_CODEC_FLAG_QSCALE | AV_CODEC_FLAG_BITEXACT;
  enc->global_quality = FF_QP2LAMBDA * 2;
  if (out->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if ((rc = avcodec_open2(enc, codec, nullptr)) < 0) return Fail("cannot start the encoder", rc);
  avcodec_parameters_from_context(stream->codecpar, enc);
  stream->time_base = enc->time_base;
  stream->avg_frame_rate = enc->framerate;
  if ((rc = avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE)) < 0) return Fail("cannot write the file", rc);
  if ((rc = avformat_write_header(out, nullptr)) < 0) return Fail("cannot write the header", rc);

  AVFrame* frame = av_frame_alloc();
  frame->format = enc->pix_fmt;
  frame->width = movie.width;
  frame->height = movie.height;
  av_frame_get_buffer(frame, 0);
  AVPacket* pkt = av_packet_alloc();
  SwsContext* toYuv = sws_getContext(movie.width, movie.height, AV_PIX_FMT_0RGB32, movie.width, movie.height, enc->pix_fmt, SWS_BICUBIC,
                                     nullptr, nullptr, nullptr);
  std::vector<std::uint32_t> rgb(static_cast<std::size_t>(movie.width) * movie.height);
  bool ok = toYuv != nullptr;
  for (int n = 0; ok && n < movie.frames; ++n) {
    movie.paint(n, rgb);
    av_frame_make_writable(frame);
    const std::uint8_t* src[1] = {reinterpret_cast<const std::uint8_t*>(rgb.data())};
    const int stride[1] = {movie.width * 4};
    sws_scale(toYuv, src, stride, 0, movie.height, frame->data, frame->linesize);
    frame->pts = n;
    ok = avcodec_send_frame(enc, frame) >= 0 && WritePackets(enc, out, stream, pkt);
  }
  ok = ok && avcodec_send_frame(enc, nullptr) >= 0 && WritePackets(enc, out, stream, pkt);
  ok = ok && av_write_trailer(out) >= 0;
  sws_freeContext(toYuv);
  av_packet_free(&pkt);
  av_frame_free(&frame);
  avcodec_free_context(&enc);
  avio_closep(&out->pb);
  avformat_free_context(out);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  // --grey WIDTH: a light grey movie of two pictures, WIDTH x 16, for the
  // tests of widths the logo does not have.
  const bool grey = argc == 4 && std::string(argv[1]) == "--grey";
  if (!grey && (argc < 2 || argc > 3)) {
    std::fprintf(stderr, "usage: pelmot_make_logo OUT.avi [FONT.ttf]\n       pelmot_make_logo --grey WIDTH OUT.avi\n");
    return 2;
  }
  const std::string target = grey ? argv[3] : argv[1];
  MovieShape movie;
  Mask mask;
  const int baseline = 128;
  if (grey) {
    const int width = std::atoi(argv[2]);
    if (width < 16 || width > 4096) return 2;
    movie = {width, 16, 2, [](int, std::vector<std::uint32_t>& rgb) { std::fill(rgb.begin(), rgb.end(), 0xC8C8C8u); }};
  } else {
    if (argc < 3 || !DrawWithFont(argv[2], mask, baseline)) DrawBlocks(mask, baseline);
    movie = {kWidth, kHeight, kFrames,
             [&](int n, std::vector<std::uint32_t>& rgb) { Compose(mask, n, baseline + 24, rgb); }};
  }
  // Written beside the target and renamed, so a failed run leaves no half movie.
  const std::string temporary = target + ".part.avi";
  if (!Encode(temporary, movie)) {
    std::filesystem::remove(temporary);
    return 1;
  }
  std::filesystem::rename(temporary, target);
  return 0;
}
