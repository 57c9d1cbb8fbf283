// pelmot_make_pictures OUTPUT_DIR: draws the default pictures of the game,
// OUTPUT_DIR/PELMOTPIC/0.png ... 134.png and OUTPUT_DIR/SYSPIC/0.png ... 11.png.
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/cell_text.h"
#include "platform/common/font.h"
#include "platform/common/picload.h"
#include "scene_pictures.h"
#include "system_pictures.h"

namespace {

using namespace pelmot;
using namespace pelmot::pictures;

std::unique_ptr<TextEngine> OpenFont() {
  const FontFile file = FindWindowFontFile();
  if (!file.path.empty())
    if (auto font = FreeTypeTextEngine::Open(file)) return font;
  std::cerr << "pelmot_make_pictures: warning: no font found; labels are drawn as blocks\n";
  return std::make_unique<CellTextEngine>();
}

bool Save(const Surface& s, const std::filesystem::path& path) {
  if (SavePng(s.Image(), s.Width(), s.Height(), path.string())) return true;
  std::cerr << "pelmot_make_pictures: cannot write " << path.string() << "\n";
  return false;
}

std::set<int> AlbumFirstPictures() {
  std::set<int> numbers;
  for (int e = 0; e < kAlbumEntries; ++e) numbers.insert(AlbumEntryFirstPicture(e));
  return numbers;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: pelmot_make_pictures OUTPUT_DIR\n";
    return 2;
  }
  const std::filesystem::path root = argv[1];
  const auto scenes = root / "PELMOTPIC", system = root / "SYSPIC";
  std::error_code error;
  std::filesystem::create_directories(scenes, error);
  std::filesystem::create_directories(system, error);
  std::unique_ptr<TextEngine> font = OpenFont();
  Labeller label(*font);

  const std::set<int> thumbnailed = AlbumFirstPictures();
  std::map<int, Surface> thumbnails;
  for (int n = 0; n < kScenePictureCount; ++n) {
    const Surface picture = DrawScenePicture(n, label);
    if (!Save(picture, scenes / (std::to_string(n) + ".png"))) return 1;
    if (thumbnailed.count(n)) thumbnails.emplace(n, Shrink(picture, kThumbnailScale));
  }

  bool ok = Save(DrawDimmingMask(), system / "0.png");
  for (int page = 0; page < kAlbumPages && ok; ++page) {
    ok = Save(DrawAlbumBackground(page, label), system / (std::to_string(2 * page + 1) + ".png")) &&
         Save(DrawAlbumSheet(page, thumbnails), system / (std::to_string(2 * page + 2) + ".png"));
  }
  ok = ok && Save(DrawStatusSheet(label), system / "11.png");
  return ok ? 0 : 1;
}
