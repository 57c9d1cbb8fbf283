#include "platform/web/web_pictures.h"

#include "platform/web/web_content.h"

namespace pelmot {

void WebPictureLoader::PicLoad(Surface& target, int number, const std::string& folder) {
  const std::string path = PicturePath(folder, number);
  if (LateFileState(path) == LateFile::kComing) FetchLateFileNow(path);
  decoder_.PicLoad(target, number, folder);
}

void WebPictureLoader::Prefetch(int number, const std::string& folder) {
  const std::int64_t step = stepsTaken_();
  if (step != hintStep_) {
    hinted_.clear();
    hintStep_ = step;
  }
  const std::string path = PicturePath(folder, number);
  if (LateFileState(path) != LateFile::kComing) return;
  HurryLateFile(path);
  hinted_.insert(path);
}

bool WebPictureLoader::Waiting() {
  std::erase_if(hinted_, [](const std::string& path) { return LateFileState(path) != LateFile::kComing; });
  return !hinted_.empty();
}

}  // namespace pelmot
