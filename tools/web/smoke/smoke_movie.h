/* Decodes a whole movie the way the game does: demux, decode, and check
   that each frame is planar YUV 4:2:0, the one layout the page converts to
   32-bit pixels itself. Prints its size and frame count. */
typedef struct {
  AVFormatContext* format;
  AVCodecContext* codec;
  AVFrame* frame;
  AVPacket* packet;
  int stream, frames;
} Movie;

static void close_movie(Movie* m) {
  av_packet_free(&m->packet);
  av_frame_free(&m->frame);
  avcodec_free_context(&m->codec);
  avformat_close_input(&m->format);
}

static int open_movie(Movie* m, const char* path) {
  const AVCodec* decoder = NULL;
  if (avformat_open_input(&m->format, path, NULL, NULL) < 0) return fail("cannot open", path);
  m->stream = av_find_best_stream(m->format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
  if (m->stream < 0) return fail("no video stream", path);
  m->codec = avcodec_alloc_context3(decoder);
  avcodec_parameters_to_context(m->codec, m->format->streams[m->stream]->codecpar);
  if (avcodec_open2(m->codec, decoder, NULL) < 0) return fail("cannot open the decoder", path);
  m->frame = av_frame_alloc();
  m->packet = av_packet_alloc();
  return 1;
}

static int check_frame(Movie* m) {
  const AVFrame* f = m->frame;
  if (f->format != AV_PIX_FMT_YUV420P && f->format != AV_PIX_FMT_YUVJ420P)
    return fail("a frame is not planar YUV 4:2:0", av_get_pix_fmt_name(f->format));
  ++m->frames;
  return 1;
}

static int drain(Movie* m) {
  int rc;
  while ((rc = avcodec_receive_frame(m->codec, m->frame)) == 0)
    if (!check_frame(m)) return 0;
  return rc == AVERROR(EAGAIN) || rc == AVERROR_EOF;
}

static int decode_all(Movie* m) {
  while (av_read_frame(m->format, m->packet) >= 0) {
    int mine = m->packet->stream_index == m->stream;
    int ok = !mine || (avcodec_send_packet(m->codec, m->packet) >= 0 && drain(m));
    av_packet_unref(m->packet);
    if (!ok) return fail("decoding failed", NULL);
  }
  return avcodec_send_packet(m->codec, NULL) >= 0 && drain(m);
}

static int check_movie(const char* path) {
  Movie m = {0};
  int ok = open_movie(&m, path) && decode_all(&m) && m.frames > 0;
  if (ok) printf("movie: %dx%d, %d frames\n", m.codec->width, m.codec->height, m.frames);
  else fail("no frame decoded", path);
  close_movie(&m);
  return ok;
}
