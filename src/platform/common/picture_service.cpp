#include "platform/common/picture_service.h"

#include <algorithm>
#include <utility>

namespace pelmot {
namespace {

// Hints past this many are stale: the oldest are dropped.
constexpr std::size_t kMaxQueuedHints = 8;
// Copies waiting to be written, past which writing comes before the next
// hint: each holds its picture's pixels.
constexpr std::size_t kMaxQueuedWrites = 3;

}  // namespace

PictureService::PictureService(PictureServiceSettings settings)
    : memory_(settings.budgetBytes), upkeepDelay_(settings.upkeepDelay) {
  if (!settings.diskCacheFolder.empty()) {
    disk_.emplace(settings.diskCacheFolder);
    tightener_.emplace(*disk_, settings.upkeepDelay);
  }
  worker_ = std::thread([this] { Work(); });
}

PictureService::~PictureService() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    hints_.clear();  // what was only hinted is not needed now
  }
  changed_.notify_all();
  worker_.join();
}

SharedPicture PictureService::DecodeFresh(const std::string& path, const SourceStamp& stamp, std::vector<Colour> reuse,
                                          DecodeScratch& scratch) {
  if (disk_) {
    if (auto cached = disk_->Load(path, stamp, reuse, scratch.file)) {
      WakeTightener();
      std::lock_guard lock(mutex_);
      ++counts_.fromDisk;
      return std::make_shared<const DecodedPicture>(std::move(*cached));
    }
  }
  auto picture = std::make_shared<DecodedPicture>();
  picture->pixels = std::move(reuse);
  std::string error;
  if (!DecodePictureFile(path, *picture, error, scratch)) return nullptr;
  if (!disk_) return picture;
  std::lock_guard lock(mutex_);
  if (storeCopies_) writes_.push_back({path, stamp, picture});
  changed_.notify_all();
  return picture;
}

SharedPicture PictureService::Obtain(const std::string& path, const SourceStamp& stamp) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (SharedPicture kept = memory_.Find(path, stamp)) {
      ++counts_.fromMemory;
      return kept;
    }
    if (inFlight_ != path) break;
    ++counts_.waited;
    changed_.wait(lock, [&] { return inFlight_ != path; });
  }
  // Hinted but not started: decoding here is sooner than waiting in line.
  hints_.erase(std::remove(hints_.begin(), hints_.end(), path), hints_.end());
  ++counts_.decodedNow;
  std::vector<Colour> reuse = memory_.MakeRoomFor(kFullScreenPictureBytes);
  lock.unlock();
  DecodeScratch scratch;  // a decode here is rare: its buffers are not kept
  SharedPicture picture = DecodeFresh(path, stamp, std::move(reuse), scratch);
  lock.lock();
  if (picture) memory_.Put(path, stamp, picture);
  return picture;
}

void PictureService::PicLoad(Surface& target, int number, const std::string& folder) {
  const std::string path = PicturePath(folder, number);
  SharedPicture picture;
  if (auto stamp = StampOf(path)) picture = Obtain(path, *stamp);
  if (picture) return PlaceSharedPicture(std::move(picture), target);
  // Decoded again only to say why it cannot be read.
  std::string error;
  DecodedPicture unused;
  DecodePictureFile(path, unused, error);
  WarnUnreadablePicture(warned_, path, error);
  DrawPicturePlaceholder(target, number);
}

void PictureService::Prefetch(int number, const std::string& folder) {
  const std::string path = PicturePath(folder, number);
  {
    std::lock_guard lock(mutex_);
    if (path == inFlight_ || std::find(hints_.begin(), hints_.end(), path) != hints_.end()) return;
    hints_.push_back(path);
    if (hints_.size() > kMaxQueuedHints) hints_.pop_front();
  }
  changed_.notify_all();
}

void PictureService::NewHints() {
  std::lock_guard lock(mutex_);
  hints_.clear();
  memory_.NoneAhead();
}

void PictureService::RunHint(std::unique_lock<std::mutex>& lock, const std::string& path) {
  lock.unlock();
  const auto stamp = StampOf(path);
  lock.lock();
  if (!stamp || memory_.HoldsAhead(path, *stamp)) return;
  // No room but that of pictures read ahead and still to come: this one
  // waits for the next hint, when the screen may have let one go.
  std::optional<std::vector<Colour>> reuse = memory_.MakeRoomAhead(kFullScreenPictureBytes);
  if (!reuse) return;
  inFlight_ = path;
  lock.unlock();
  SharedPicture picture = DecodeFresh(path, *stamp, std::move(*reuse), workerScratch_);
  lock.lock();
  if (picture) memory_.Put(path, *stamp, std::move(picture), true);
  inFlight_.clear();
  changed_.notify_all();
}

void PictureService::KeepCopiesWithin(std::uint64_t bytes) {
  {
    std::lock_guard lock(mutex_);
    storeCopies_ = bytes > 0;
    if (!disk_ || std::exchange(tidyAsked_, true)) return;
    tidy_ = Tidy{std::chrono::steady_clock::now() + upkeepDelay_, bytes};
  }
  changed_.notify_all();
}

bool PictureService::TidyDue() const { return tidy_ && std::chrono::steady_clock::now() >= tidy_->at; }

void PictureService::RunWrite(std::unique_lock<std::mutex>& lock) {
  DiskWrite write = std::move(writes_.front());
  writes_.pop_front();
  writing_ = true;
  lock.unlock();
  disk_->Store(write.path, write.stamp, *write.picture);
  WakeTightener();
  lock.lock();
  writing_ = false;
}

void PictureService::RunTidy(std::unique_lock<std::mutex>& lock) {
  const std::uint64_t limit = tidy_->limitBytes;
  tidy_.reset();
  tidying_ = true;
  lock.unlock();
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  disk_->Tidy(limit, std::chrono::duration_cast<std::chrono::seconds>(now).count());
  lock.lock();
  tidying_ = false;
}

// Hints first, the moment they come: copies are written and the folder
// tidied only while none waits (unless too many copies wait).
bool PictureService::RunNextJob(std::unique_lock<std::mutex>& lock) {
  if (writes_.size() >= kMaxQueuedWrites || (hints_.empty() && !writes_.empty())) {
    RunWrite(lock);
  } else if (!hints_.empty()) {
    const std::string path = std::move(hints_.front());
    hints_.pop_front();
    RunHint(lock, path);
  } else if (TidyDue() && !stopping_) {
    RunTidy(lock);
  } else {
    return !stopping_;
  }
  changed_.notify_all();
  return true;
}

void PictureService::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    const auto ready = [&] { return stopping_ || !hints_.empty() || !writes_.empty() || TidyDue(); };
    if (tidy_)
      changed_.wait_until(lock, tidy_->at, ready);
    else
      changed_.wait(lock, ready);
    if (!RunNextJob(lock)) return;  // stopping, with nothing left to write
  }
}

void PictureService::WaitIdle() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] {
    return hints_.empty() && writes_.empty() && inFlight_.empty() && !writing_ && !TidyDue() && !tidying_;
  });
}

void PictureService::WakeTightener() {
  if (disk_->WaitingToTighten()) tightener_->Wake();
}

void PictureService::WaitTightened() {
  if (tightener_) tightener_->WaitIdle();
}

std::vector<std::string> PictureService::CachedPaths() {
  std::lock_guard lock(mutex_);
  return memory_.PathsByRecency();
}

PictureService::Counts PictureService::counts() {
  std::lock_guard lock(mutex_);
  Counts counts = counts_;
  if (disk_) counts.sourcesRead = disk_->SourcesRead();
  if (tightener_) counts.tightened = tightener_->Tightened();
  return counts;
}

}  // namespace pelmot
