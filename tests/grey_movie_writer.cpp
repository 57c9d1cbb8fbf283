// Writes a movie of two light grey pictures, WIDTH x 16, MPEG-4 in AVI,
// light up to the last column: the logo tests' movie of an unusual width.
//
//   grey_movie_writer OUT.avi WIDTH
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool WriteGreyMovie(const std::string& path, int width, int frames) {
  AVFormatContext* out = nullptr;
  if (avformat_alloc_output_context2(&out, nullptr, "avi", path.c_str()) < 0) return false;
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  AVStream* stream = avformat_new_stream(out, nullptr);
  AVCodecContext* enc = avcodec_alloc_context3(codec);
  enc->width = width;
  enc->height = 16;
  enc->pix_fmt = AV_PIX_FMT_YUV420P;
  enc->time_base = AVRational{1, 15};
  enc->max_b_frames = 0;
  AVFrame* frame = av_frame_alloc();
  AVPacket* pkt = av_packet_alloc();
  bool ok = codec && avcodec_open2(enc, codec, nullptr) >= 0 &&
            avcodec_parameters_from_context(stream->codecpar, enc) >= 0 &&
            avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0 && avformat_write_header(out, nullptr) >= 0;
  frame->format = enc->pix_fmt;
  frame->width = width;
  frame->height = 16;
  ok = ok && av_frame_get_buffer(frame, 0) >= 0;
  auto drain = [&] {
    while (avcodec_receive_packet(enc, pkt) >= 0) {
      av_packet_rescale_ts(pkt, enc->time_base, stream->time_base);
      if (av_interleaved_write_frame(out, pkt) < 0) return false;
    }
    return true;
  };
  for (int n = 0; ok && n < frames; ++n) {
    for (int plane = 0; plane < 3; ++plane)
      std::memset(frame->data[plane], plane == 0 ? 200 : 128, frame->linesize[plane] * (plane == 0 ? 16 : 8));
    frame->pts = n;
    ok = avcodec_send_frame(enc, frame) >= 0 && drain();
  }
  ok = ok && avcodec_send_frame(enc, nullptr) >= 0 && drain() && av_write_trailer(out) >= 0;
  av_packet_free(&pkt);
  av_frame_free(&frame);
  avcodec_free_context(&enc);
  avio_closep(&out->pb);
  avformat_free_context(out);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const int width = std::atoi(argv[2]);
  if (width < 16 || width > 4096) return 2;
  return WriteGreyMovie(argv[1], width, 2) ? 0 : 1;
}
