#include "platform/picture_prefetch.h"

namespace pelmot {

PrefetchingPictureLoader::~PrefetchingPictureLoader() {
  if (worker_.joinable()) worker_.join();
}

void PrefetchingPictureLoader::Prefetch(const std::string& folder, std::vector<int> numbers, int width,
                                        int height) {
  if (worker_.joinable()) worker_.join();
  worker_ = std::thread([this, folder, numbers = std::move(numbers), width, height] {
    for (int n : numbers) {
      Surface picture(width, height);
      inner_.PicLoad(picture, n, folder);
      ready_.insert_or_assign({folder, n}, std::move(picture));
    }
  });
}

void PrefetchingPictureLoader::PicLoad(Surface& target, int number, const std::string& folder) {
  if (worker_.joinable()) worker_.join();
  auto it = ready_.find({folder, number});
  if (it == ready_.end()) {
    inner_.PicLoad(target, number, folder);
    return;
  }
  target.BitBlt(0, 0, it->second.Width(), it->second.Height(), it->second, 0, 0, Rop::SrcCopy);
  ready_.erase(it);
}

}  // namespace pelmot
