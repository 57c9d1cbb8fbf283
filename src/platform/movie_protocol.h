// What the game and its movie helper say to each other. The helper program
// (pelmot-movie, beside the game's program or below libexec/ of an install)
// decodes one movie file with FFmpeg, so that FFmpeg's hundred shared
// libraries never map into the game, and a damaged movie file is decoded
// away from the game's own memory.
//
// The helper starts with two descriptors: a stream socket for requests and
// replies, and a sealed shared-memory block of one largest picture. It may
// be started before the game knows its movie, so that its libraries load
// while the window opens. The movie file (opened and checked by the game)
// comes later as one kMovieFile byte carrying its descriptor (SCM_RIGHTS);
// the helper answers with one kOpened Reply, then, for each kNextPicture
// byte it reads, one Reply for the next picture, whose pixels it has written
// to the shared block when the picture fits the window. It exits when the
// socket closes, also while it still waits for its movie.
//
// The game believes nothing of a reply it has not checked: an unknown
// status, a picture larger than the window or a time out of order ends the
// movie with a reason.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/surface.h"

namespace pelmot::movie_protocol {

inline constexpr const char* kHelperName = "pelmot-movie";

inline constexpr int kChannelFd = 3;
inline constexpr int kPictureFd = 4;

// Pictures are at most the window's size: 0x00RRGGBB words, row after row.
inline constexpr std::size_t kPictureBytes = std::size_t{kScreenWidth} * kScreenHeight * sizeof(std::uint32_t);

inline constexpr char kMovieFile = 'M';
inline constexpr char kNextPicture = 'N';

enum ReplyStatus : std::int32_t { kFailed = -1, kEnd = 0, kPicture = 1, kOpened = 2 };

struct Reply {
  std::int32_t status = kFailed;
  std::int32_t width = 0;  // as decoded, whatever the file's header said
  std::int32_t height = 0;
  std::int64_t timeMs = 0;
  double frameRate = 0;  // with kOpened
  char error[240] = {};  // with kFailed
};

inline bool FitsTheWindow(int width, int height) {
  return width > 0 && height > 0 && width <= kScreenWidth && height <= kScreenHeight;
}

}  // namespace pelmot::movie_protocol
