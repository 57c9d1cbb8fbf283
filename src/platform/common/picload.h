// Our picture loader: picture n of a folder is the PNG file "<n>.png" in it
// (a BMP, GIF or JPEG picture works under that name too). A picture is at
// most 800 x 600; its header is read before anything is decoded.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/services.h"

namespace pelmot {

// A picture decoded to 0x00RRGGBB pixels, row by row, in its own size.
struct DecodedPicture {
  int width = 0, height = 0;
  std::vector<Colour> pixels;
  std::size_t Bytes() const { return pixels.size() * sizeof(Colour); }
};

// Memory one decode leaves for the next to reuse: the file's bytes, and a
// PNG's image data joined and inflated. A buffer made anew costs a page
// fault for every 4 KB it takes, which on a new install costs as much as
// inflating the picture. `out`'s pixels are reused the same way.
struct DecodeScratch {
  std::string file;
  std::vector<unsigned char> joined, inflated;
};

// Decodes the picture file at `path` (PNG, BMP, GIF or JPEG of at most
// 800 x 600, checked from its header before decoding); false, with `error`
// set, when it cannot.
bool DecodePictureFile(const std::string& path, DecodedPicture& out, std::string& error);
bool DecodePictureFile(const std::string& path, DecodedPicture& out, std::string& error, DecodeScratch& scratch);

// Decodes a whole picture file's bytes with SDL_image alone (the reference
// the PNG reader's pixels are held to); false, with `error` set, when it
// cannot.
bool DecodeWithSdl(const std::string& bytes, DecodedPicture& out, std::string& error);

// Draws `picture` at the origin of target's drawing target, cut at the
// edges; what it does not cover becomes black.
void PlacePicture(const DecodedPicture& picture, Surface& target);
// The same, sharing the picture's pixels instead of copying them when it
// fills the target exactly: the target copies them only if drawn into.
void PlaceSharedPicture(std::shared_ptr<const DecodedPicture> picture, Surface& target);

// RGB bytes (three a pixel) as 0x00RRGGBB pixels.
void ConvertRgbPixels(const unsigned char* rgb, Colour* out, int count);

// The warning line for a picture that cannot be read, once per path.
void WarnUnreadablePicture(std::set<std::string>& warned, const std::string& path, const std::string& error);

class PngPictureLoader : public PictureLoader {
 public:
  // Draws the picture at the origin of target's drawing target (its kept
  // image while it draws persistently); a smaller picture leaves the rest
  // black. A missing or unreadable file, or one larger than the screen,
  // leaves a plain placeholder showing the number, with one warning line
  // on standard error naming the file (once per file).
  void PicLoad(Surface& target, int number, const std::string& folder) override;

 private:
  std::set<std::string> warned_;
};

// Path of picture `number` in `folder`.
std::string PicturePath(const std::string& folder, int number);

// Decodes a picture file of at most 800 x 600 into a surface of its own
// size; false when the file cannot be read or is larger.
bool LoadImageFile(const std::string& path, Surface& out);

// The placeholder of a picture that cannot be read: mid grey with the
// number in large digits.
void DrawPicturePlaceholder(Surface& target, int number);

// Writes pixels (0x00RRGGBB) as an RGB PNG; false on failure.
bool SavePng(const std::vector<Colour>& pixels, int width, int height, const std::string& path);

}  // namespace pelmot
