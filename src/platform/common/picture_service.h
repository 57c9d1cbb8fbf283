// The picture loader the game runs with: decoded pictures come from a
// memory cache, filled ahead of need by one worker thread from the hints the
// story gives (Prefetch), and from a packed copy on disk made from the same
// bytes as the source. The worker takes a hint the moment it comes: the
// copies of pictures decoded from their sources are written, and the disk
// cache tidied, while no hint waits.
//
// PicLoad always draws the same pixels a plain decode would: a picture the
// worker is decoding is waited for, a hinted one it has not started is
// decoded at once, and every use checks the source's size and times.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/common/copy_tightener.h"
#include "platform/common/picture_cache.h"

namespace pelmot {

inline constexpr std::size_t kFullScreenPictureBytes = std::size_t{kScreenWidth} * kScreenHeight * sizeof(Colour);
// Three full-screen pictures (5.8 MB) in all, those the screen still holds
// included: the one shown and the two the look-ahead hints. Skipping shows
// pictures faster than they are read back, so fewer would keep the game
// waiting; more would cost memory a reader never gains from.
inline constexpr std::size_t kDefaultPictureBudget = 3 * kFullScreenPictureBytes;

// The disk cache's upkeep waits this long, past the first frame: the
// packed copies' folder is tidied this long after the game says how much it
// may hold (when the worker has nothing else), and copies are repacked
// tighter from this long after the service starts.
inline constexpr std::chrono::milliseconds kUpkeepDelay{2000};

struct PictureServiceSettings {
  std::size_t budgetBytes = kDefaultPictureBudget;
  std::string diskCacheFolder;  // empty: no cache on disk
  std::chrono::milliseconds upkeepDelay = kUpkeepDelay;
};

class PictureService : public PictureLoader {
 public:
  explicit PictureService(PictureServiceSettings settings = {});
  ~PictureService() override;
  PictureService(const PictureService&) = delete;
  PictureService& operator=(const PictureService&) = delete;

  void PicLoad(Surface& target, int number, const std::string& folder) override;
  void Prefetch(int number, const std::string& folder) override;
  // Hints not started yet are dropped, and pictures read ahead for earlier
  // hints may go again.
  void NewHints() override;
  // Tidies the disk cache once, on the worker, when it has nothing else to
  // do and the settings' delay has passed; 0 also stops new copies.
  void KeepCopiesWithin(std::uint64_t bytes) override;

  // Waits until every hint given so far is decoded (or dropped), every
  // copy queued is written, and a tidying that is due is done.
  void WaitIdle();
  // Waits until the copies on disk are packed tight (see CopyTightener).
  void WaitTightened();
  // The pictures in memory, most recently used first.
  std::vector<std::string> CachedPaths();

  // How PicLoad found its pictures.
  struct Counts {
    int fromMemory = 0;  // decoded earlier (or ahead of need)
    int waited = 0;      // the worker was decoding it
    int decodedNow = 0;  // decoded on the calling thread
    int fromDisk = 0;    // of all decodes, those read from the copy on disk
    int sourcesRead = 0;  // sources read whole to find their copies' keys
    int tightened = 0;    // copies packed again, tighter
  };
  Counts counts();

 private:
  // Decodes `path` from the disk copy or the source; a picture from the
  // source has its disk copy queued for the worker to write. `reuse` and
  // `scratch`: memory the decode may take over (see MakeRoomFor) and the
  // caller's buffers for a file's bytes and a PNG's image data.
  SharedPicture DecodeFresh(const std::string& path, const SourceStamp& stamp, std::vector<Colour> reuse,
                            DecodeScratch& scratch);
  SharedPicture Obtain(const std::string& path, const SourceStamp& stamp);
  // After the disk cache was used: copies may wait to be tightened.
  void WakeTightener();
  void Work();
  // The worker's next job; false when it stops.
  bool RunNextJob(std::unique_lock<std::mutex>& lock);
  void RunHint(std::unique_lock<std::mutex>& lock, const std::string& path);
  void RunWrite(std::unique_lock<std::mutex>& lock);
  void RunTidy(std::unique_lock<std::mutex>& lock);
  bool TidyDue() const;

  PictureMemoryCache memory_;
  std::optional<DiskPictureCache> disk_;
  std::optional<CopyTightener> tightener_;  // of disk_'s copies
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
  struct Tidy {
    std::chrono::steady_clock::time_point at;
    std::uint64_t limitBytes;
  };
  std::chrono::milliseconds upkeepDelay_;
  std::optional<Tidy> tidy_;   // asked for, not yet run
  bool tidyAsked_ = false;     // once a run
  bool storeCopies_ = true;
  bool tidying_ = false;
  std::string inFlight_;       // the path the worker decodes now
  DecodeScratch workerScratch_;  // the worker's buffers for files' bytes
  bool writing_ = false;       // the worker writes a disk copy now
  bool stopping_ = false;
  Counts counts_;
  std::thread worker_;
};

}  // namespace pelmot
