#include "platform/common/picture_service.h"

#include <algorithm>
#include <utility>

namespace pelmot {
namespace {

// Hints past this many are stale: the oldest are dropped.
constexpr std::size_t kMaxQueuedHints = 8;

}  // namespace

PictureService::PictureService(PictureServiceSettings settings) : memory_(settings.budgetBytes) {
  if (!settings.diskCacheFolder.empty()) disk_.emplace(settings.diskCacheFolder);
  PrepareDecoders();  // before two threads may decode at once
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

SharedPicture PictureService::DecodeFresh(const std::string& path, const SourceStamp& stamp, bool storeNow,
                                          std::vector<Colour> reuse, std::string& scratch) {
  if (disk_) {
    if (auto cached = disk_->Load(path, stamp, std::move(reuse), scratch)) {
      std::lock_guard lock(mutex_);
      ++counts_.fromDisk;
      return std::make_shared<const DecodedPicture>(std::move(*cached));
    }
  }
  auto picture = std::make_shared<DecodedPicture>();
  std::string error;
  if (!DecodePictureFile(path, *picture, error)) return nullptr;
  if (disk_ && storeNow) {
    disk_->Store(path, stamp, *picture);
  } else if (disk_) {
    std::lock_guard lock(mutex_);
    writes_.push_back({path, stamp, picture});
    changed_.notify_all();
  }
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
  std::string scratch;  // a decode here is rare: its buffer is not kept
  SharedPicture picture = DecodeFresh(path, stamp, false, std::move(reuse), scratch);
  lock.lock();
  if (picture) memory_.Put(path, stamp, picture);
  return picture;
}

void PictureService::PicLoad(Surface& target, int number, const std::string& folder) {
  const std::string path = PicturePath(folder, number);
  SharedPicture picture;
  if (auto stamp = StampOf(path)) picture = Obtain(path, *stamp);
  if (picture) return PlacePicture(*picture, target);
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

void PictureService::RunHint(std::unique_lock<std::mutex>& lock, const std::string& path) {
  lock.unlock();
  const auto stamp = StampOf(path);
  lock.lock();
  if (!stamp || memory_.Holds(path, *stamp)) return;
  std::vector<Colour> reuse = memory_.MakeRoomFor(kFullScreenPictureBytes);
  inFlight_ = path;
  lock.unlock();
  SharedPicture picture = DecodeFresh(path, *stamp, true, std::move(reuse), workerScratch_);
  lock.lock();
  if (picture) memory_.Put(path, *stamp, std::move(picture));
  inFlight_.clear();
  changed_.notify_all();
}

void PictureService::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return stopping_ || !hints_.empty() || !writes_.empty(); });
    if (!hints_.empty()) {
      const std::string path = std::move(hints_.front());
      hints_.pop_front();
      RunHint(lock, path);
    } else if (!writes_.empty()) {
      DiskWrite write = std::move(writes_.front());
      writes_.pop_front();
      writing_ = true;
      lock.unlock();
      disk_->Store(write.path, write.stamp, *write.picture);
      lock.lock();
      writing_ = false;
    } else {
      return;  // stopping, with nothing left to write
    }
    changed_.notify_all();
  }
}

void PictureService::WaitIdle() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return hints_.empty() && writes_.empty() && inFlight_.empty() && !writing_; });
}

std::vector<std::string> PictureService::CachedPaths() {
  std::lock_guard lock(mutex_);
  return memory_.PathsByRecency();
}

PictureService::Counts PictureService::counts() {
  std::lock_guard lock(mutex_);
  return counts_;
}

}  // namespace pelmot
