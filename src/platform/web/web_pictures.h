// The pictures in the browser: decoded as on the desktop (PngPictureLoader),
// from files the page fetches when the story is about to need them.
//
// The look-ahead's hints ask for the next pictures first; the window holds
// the game's next step while one of them is on its way (Waiting), so a step
// finds its picture there and the previous picture stays on screen until
// then. A picture asked for without a hint (a slot loaded, the album) that
// has not arrived is fetched while the step waits. A picture that cannot be
// fetched is read as a missing file: the game's placeholder and warning.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "platform/common/picload.h"

namespace pelmot {

class WebPictureLoader : public PictureLoader {
 public:
  // `stepsTaken` counts the game's steps: the hints of one step replace
  // those of the step before.
  explicit WebPictureLoader(std::function<std::int64_t()> stepsTaken) : stepsTaken_(std::move(stepsTaken)) {}
  void PicLoad(Surface& target, int number, const std::string& folder) override;
  void Prefetch(int number, const std::string& folder) override;
  // True while a picture the last step's hints named is still coming.
  bool Waiting();

 private:
  PngPictureLoader decoder_;
  std::function<std::int64_t()> stepsTaken_;
  std::int64_t hintStep_ = -1;
  std::set<std::string> hinted_;
};

}  // namespace pelmot
