// Decodes pictures ahead on a thread of its own: start-up asks for its twelve
// system pictures only after the window, the font and the story are ready,
// and by then they are decoded.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/services.h"

namespace pelmot {

class PrefetchingPictureLoader : public PictureLoader {
 public:
  explicit PrefetchingPictureLoader(PictureLoader& inner) : inner_(inner) {}
  ~PrefetchingPictureLoader() override;
  PrefetchingPictureLoader(const PrefetchingPictureLoader&) = delete;
  PrefetchingPictureLoader& operator=(const PrefetchingPictureLoader&) = delete;

  // Starts drawing these pictures of `folder`, each into a blank surface of
  // `width` x `height`. The inner loader is used by that thread alone until
  // the first PicLoad.
  void Prefetch(const std::string& folder, std::vector<int> numbers, int width = 800,
                int height = 600);

  // A prefetched picture is painted from its copy, once; meant for a blank
  // target of the prefetch's size, as start-up's are. Anything else goes to
  // the inner loader.
  void PicLoad(Surface& target, int number, const std::string& folder) override;

 private:
  PictureLoader& inner_;
  std::thread worker_;
  std::map<std::pair<std::string, int>, Surface> ready_;
};

}  // namespace pelmot
