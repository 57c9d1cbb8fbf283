// Decodes a movie file's pictures with FFmpeg's libraries.
#include "platform/ffmpeg/ffmpeg_movie.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
#if !PELMOT_OWN_YUV_PIXELS
#include <libswscale/swscale.h>
#endif
}

#if PELMOT_OWN_YUV_PIXELS
#include "platform/web/yuv420_pixels.h"
#endif

namespace pelmot::ffmpeg {
namespace {

std::string AvError(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

// The movie is read from a descriptor the program opened and checked (a
// regular file), not from a path FFmpeg would open on its own.
struct FileInput {
  int fd = -1;
  AVIOContext* io = nullptr;

  ~FileInput() {
    if (io) av_freep(&io->buffer);
    avio_context_free(&io);
    if (fd >= 0) ::close(fd);
  }

  static int Read(void* opaque, std::uint8_t* buffer, int size) {
    const int fd = static_cast<FileInput*>(opaque)->fd;
    while (true) {
      const ssize_t n = ::read(fd, buffer, static_cast<std::size_t>(size));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return AVERROR(errno);
      return n == 0 ? AVERROR_EOF : static_cast<int>(n);
    }
  }

  static std::int64_t Seek(void* opaque, std::int64_t offset, int whence) {
    const int fd = static_cast<FileInput*>(opaque)->fd;
    if (whence & AVSEEK_SIZE) {
      struct stat st {};
      return ::fstat(fd, &st) == 0 ? static_cast<std::int64_t>(st.st_size) : AVERROR(errno);
    }
    const off_t at = ::lseek(fd, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : static_cast<std::int64_t>(at);
  }

  bool Start(int descriptor) {
    fd = descriptor;
    constexpr int kBufferSize = 64 * 1024;
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(kBufferSize));
    if (!buffer) return false;
    io = avio_alloc_context(buffer, kBufferSize, 0, this, Read, nullptr, Seek);
    if (!io) av_free(buffer);
    return io != nullptr;
  }
};

}  // namespace

struct Movie {
  FileInput input;  // outlives the format context, which reads through it
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
#if !PELMOT_OWN_YUV_PIXELS
  SwsContext* scaler = nullptr;
#endif
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  int stream = -1;
  bool draining = false;  // the file is read to its end; the decoder gives what it holds
  std::int64_t framesOut = 0;

  ~Movie() {
#if !PELMOT_OWN_YUV_PIXELS
    sws_freeContext(scaler);
#endif
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
  }

  bool Open(int fd, std::string& error);
  double Rate() const {
    AVRational r = format->streams[stream]->avg_frame_rate;
    if (r.num <= 0 || r.den <= 0) r = format->streams[stream]->r_frame_rate;
    return r.num > 0 && r.den > 0 ? av_q2d(r) : 0;
  }
  bool Receive(std::string& error);
  std::int64_t FrameTimeMs() const;
  void Convert(std::uint32_t* pixels, int width, int height);
};

bool Movie::Open(int fd, std::string& error) {
  format = avformat_alloc_context();
  if (!input.Start(fd) || !format) {
    error = "out of memory";
    return false;
  }
  format->pb = input.io;
  format->flags |= AVFMT_FLAG_CUSTOM_IO;
  // On failure avformat_open_input frees the context and sets it to null.
  int rc = avformat_open_input(&format, nullptr, nullptr, nullptr);
  if (rc < 0) {
    error = AvError(rc);
    return false;
  }
  // An AVI header names the codec and the picture size; reading ahead into
  // the stream is only needed when it does not.
  bool known = false;
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVCodecParameters* p = format->streams[i]->codecpar;
    known |= p->codec_type == AVMEDIA_TYPE_VIDEO && p->codec_id != AV_CODEC_ID_NONE && p->width > 0;
  }
  if (!known && (rc = avformat_find_stream_info(format, nullptr)) < 0) {
    error = AvError(rc);
    return false;
  }
  const AVCodec* decoder = nullptr;
  stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
  if (stream < 0 || !decoder) {
    error = stream == AVERROR_DECODER_NOT_FOUND ? "no decoder for the movie's pictures"
                                                : "the file holds no movie pictures";
    return false;
  }
  codec = avcodec_alloc_context3(decoder);
  packet = av_packet_alloc();
  frame = av_frame_alloc();
  if (!codec || !packet || !frame) {
    error = "out of memory";
    return false;
  }
  avcodec_parameters_to_context(codec, format->streams[stream]->codecpar);
  codec->thread_count = 1;  // small pictures; a thread pool costs more than it saves
  if ((rc = avcodec_open2(codec, decoder, nullptr)) < 0) {
    error = AvError(rc);
    return false;
  }
  return true;
}

// Sends packets until the decoder has a picture; false at the end.
bool Movie::Receive(std::string& error) {
  while (true) {
    int rc = avcodec_receive_frame(codec, frame);
    if (rc == 0) return true;
    if (rc == AVERROR_EOF) return false;
    if (rc != AVERROR(EAGAIN)) {
      error = AvError(rc);
      return false;
    }
    if (draining) return false;
    rc = av_read_frame(format, packet);
    if (rc < 0) {
      // The end of the file (or a read error, which ends the movie the same
      // way): the decoder gives out the pictures it still holds.
      draining = true;
      avcodec_send_packet(codec, nullptr);
      continue;
    }
    if (packet->stream_index == stream) {
      rc = avcodec_send_packet(codec, packet);
      if (rc < 0 && rc != AVERROR(EAGAIN)) {
        av_packet_unref(packet);
        error = AvError(rc);
        return false;
      }
    }
    av_packet_unref(packet);
  }
}

// A time no movie has, for a picture whose stamp cannot be counted in
// milliseconds: the player refuses it, naming it.
constexpr std::int64_t kNoSuchTime = std::numeric_limits<std::int64_t>::min();

std::int64_t Movie::FrameTimeMs() const {
  const std::int64_t pts = frame->best_effort_timestamp;
  if (pts != AV_NOPTS_VALUE) {
    const AVStream* s = format->streams[stream];
    const std::int64_t start = s->start_time != AV_NOPTS_VALUE ? s->start_time : 0;
    std::int64_t since = 0;
    if (__builtin_sub_overflow(pts, start, &since) || s->time_base.num <= 0 || s->time_base.den <= 0) return kNoSuchTime;
    return av_rescale_q(since, s->time_base, AVRational{1, 1000});  // kNoSuchTime when too large
  }
  const double rate = Rate();
  const double ms = rate > 0 ? static_cast<double>(framesOut) * 1000.0 / rate : static_cast<double>(framesOut) * 40;
  return ms < 9.0e18 ? static_cast<std::int64_t>(ms) : kNoSuchTime;
}

#if PELMOT_OWN_YUV_PIXELS
// The browser edition links no swscale: it converts the planar YUV 4:2:0
// its decoder gives (the logo movie's), at the size it was decoded at, and
// shows black for anything else.
void Movie::Convert(std::uint32_t* pixels, int width, int height) {
  const bool yuv420 = frame->format == AV_PIX_FMT_YUV420P || frame->format == AV_PIX_FMT_YUVJ420P;
  if (!yuv420 || frame->width != width || frame->height != height) {
    std::fill(pixels, pixels + static_cast<std::size_t>(width) * height, 0u);
    return;
  }
  const bool fullRange = frame->format == AV_PIX_FMT_YUVJ420P;
  Yuv420ToPixels({{frame->data[0], frame->data[1], frame->data[2]},
                  {frame->linesize[0], frame->linesize[1], frame->linesize[2]},
                  width,
                  height,
                  fullRange},
                 pixels);
}
#else
// Our pixels are 0x00RRGGBB words in the machine's byte order.
constexpr AVPixelFormat kOutFormat = AV_PIX_FMT_0RGB32;

// The held picture scaled into width x height words: the output's size is
// the caller's buffer, whatever size the picture was decoded at.
void Movie::Convert(std::uint32_t* pixels, int width, int height) {
  const std::size_t count = static_cast<std::size_t>(width) * height;
  const auto source = static_cast<AVPixelFormat>(frame->format);
  const bool usable =
      frame->width > 0 && frame->height > 0 && source != AV_PIX_FMT_NONE && sws_isSupportedInput(source);
  // Accurate rounding keeps swscale off its x86 YUV-to-RGB fast path, which
  // leaves the last (width mod 8) columns of every row unwritten.
  scaler = usable ? sws_getCachedContext(scaler, frame->width, frame->height, source, width, height, kOutFormat,
                                         SWS_POINT | SWS_ACCURATE_RND, nullptr, nullptr, nullptr)
                  : nullptr;
  if (!scaler) {
    std::fill(pixels, pixels + count, 0u);
    return;
  }
  std::uint8_t* planes[4] = {reinterpret_cast<std::uint8_t*>(pixels), nullptr, nullptr, nullptr};
  int strides[4] = {width * 4, 0, 0, 0};
  if (sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides) != height)
    std::fill(pixels, pixels + count, 0u);
  // The padding byte must stay 0: the raster operations work on whole words.
  for (std::size_t i = 0; i < count; ++i) pixels[i] &= 0x00FFFFFFu;
}
#endif

void MovieDeleter::operator()(Movie* movie) const { delete movie; }

MoviePtr OpenMovie(int fd, std::string& error) {
  MoviePtr movie(new Movie);
  if (!movie->Open(fd, error)) return nullptr;
  return movie;
}

double FrameRate(const Movie& movie) { return movie.Rate(); }

int NextPicture(Movie& m, int& width, int& height, std::int64_t& timeMs, std::string& error) {
  av_frame_unref(m.frame);
  error.clear();
  if (!m.Receive(error)) return error.empty() ? 0 : -1;
  width = m.frame->width;
  height = m.frame->height;
  timeMs = m.FrameTimeMs();
  ++m.framesOut;
  return 1;
}

void HeldPicture(Movie& movie, std::uint32_t* pixels, int width, int height) {
  if (width <= 0 || height <= 0) return;
  movie.Convert(pixels, width, height);
}

}  // namespace pelmot::ffmpeg
