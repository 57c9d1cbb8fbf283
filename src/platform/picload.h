// Our picture loader: picture n of a folder is the PNG file "<n>.png" in it.
#pragma once

#include <string>

#include "platform/services.h"

namespace pelmot {

class PngPictureLoader : public PictureLoader {
 public:
  // Draws the picture at the origin of target's kept image. A missing or
  // unreadable file leaves a plain placeholder showing the number and one
  // warning line on standard error.
  void PicLoad(Surface& target, int number, const std::string& folder) override;
};

// Path of picture `number` in `folder`.
std::string PicturePath(const std::string& folder, int number);

// Decodes a PNG (or any format SDL_image reads) into a surface of its own
// size; false when the file cannot be read.
bool LoadImageFile(const std::string& path, Surface& out);

// Writes a surface's pixels as a PNG; false on failure.
bool SavePng(const std::vector<Colour>& pixels, int width, int height, const std::string& path);

}  // namespace pelmot
