// The picture loader the game runs with: decoded pictures come from a
// memory cache, filled ahead of need by one worker thread from the hints the
// story gives (Prefetch), and from a packed copy on disk when the source has
// not changed since it was made.
//
// PicLoad always draws the same pixels a plain decode would: a picture the
// worker is decoding is waited for, a hinted one it has not started is
// decoded at once, and every use checks the source's size and time.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/common/picture_cache.h"

namespace pelmot {

inline constexpr std::size_t kFullScreenPictureBytes = std::size_t{kScreenWidth} * kScreenHeight * sizeof(Colour);
// Three full-screen pictures (5.8 MB): the next one on each of two ways and
// the one shown last (the picture on screen has its own copy in MainWork).
// Read back from its packed copy, a picture takes a fraction of a
// millisecond, so looking further ahead buys nothing but memory.
inline constexpr std::size_t kDefaultPictureBudget = 3 * kFullScreenPictureBytes;

struct PictureServiceSettings {
  std::size_t budgetBytes = kDefaultPictureBudget;
  std::string diskCacheFolder;  // empty: no cache on disk
};

class PictureService : public PictureLoader {
 public:
  explicit PictureService(PictureServiceSettings settings = {});
  ~PictureService() override;
  PictureService(const PictureService&) = delete;
  PictureService& operator=(const PictureService&) = delete;

  void PicLoad(Surface& target, int number, const std::string& folder) override;
  void Prefetch(int number, const std::string& folder) override;

  // Waits until every hint given so far is decoded (or dropped).
  void WaitIdle();
  // The pictures in memory, most recently used first.
  std::vector<std::string> CachedPaths();

  // How PicLoad found its pictures.
  struct Counts {
    int fromMemory = 0;  // decoded earlier (or ahead of need)
    int waited = 0;      // the worker was decoding it
    int decodedNow = 0;  // decoded on the calling thread
    int fromDisk = 0;    // of all decodes, those read from the copy on disk
  };
  Counts counts();

 private:
  // Decodes `path` from the disk copy or the source; writes the disk copy
  // when it came from the source and `storeNow`, else queues that write.
  // `reuse` and `scratch`: memory the decode may take over (see MakeRoomFor)
  // and the caller's buffer for a disk copy's bytes.
  SharedPicture DecodeFresh(const std::string& path, const SourceStamp& stamp, bool storeNow, std::vector<Colour> reuse,
                            std::string& scratch);
  SharedPicture Obtain(const std::string& path, const SourceStamp& stamp);
  void Work();
  void RunHint(std::unique_lock<std::mutex>& lock, const std::string& path);

  PictureMemoryCache memory_;
  std::optional<DiskPictureCache> disk_;
  std::set<std::string> warned_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::string> hints_;  // oldest first
  struct DiskWrite {
    std::string path;
    SourceStamp stamp;
    SharedPicture picture;
  };
  std::deque<DiskWrite> writes_;
  std::string inFlight_;       // the path the worker decodes now
  std::string workerScratch_;  // the worker's buffer for disk copies' bytes
  bool writing_ = false;       // the worker writes a disk copy now
  bool stopping_ = false;
  Counts counts_;
  std::thread worker_;
};

}  // namespace pelmot
