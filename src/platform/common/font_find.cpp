// Finding the fonts on the desktop, through fontconfig.
#include "platform/common/font.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>

namespace pelmot {
namespace {

constexpr const char* kIpaGothicPath = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
constexpr const char* kDejaVuSansPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::string ToLower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The file of `family` if fontconfig has a face of exactly that family;
// fontconfig otherwise answers with a substitute, which we do not want here.
FontFile MatchFamily(FcConfig* config, const std::string& family) {
  FontFile found;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return found;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);  // asks for the regular, upright face
  FcResult result;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return found;
  bool familyMatches = false;
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    if (ToLower(reinterpret_cast<const char*>(name)) == ToLower(family)) familyMatches = true;
  FcChar8* file = nullptr;
  int index = 0;
  if (familyMatches && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    found.path = reinterpret_cast<const char*>(file);
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) found.index = index;
  }
  FcPatternDestroy(match);
  return found;
}

// The first of `families` fontconfig has (with `config`, when there is
// one), else `fallback` if that file exists.
FontFile FindFontFile(FcConfig* config, std::initializer_list<const char*> families, const char* fallback) {
  if (config) {
    for (const char* family : families) {
      FontFile file = MatchFamily(config, family);
      if (!file.path.empty()) return file;
    }
  }
  std::error_code ignored;
  if (std::filesystem::exists(fallback, ignored)) return {fallback, 0};
  return {};
}

}  // namespace

FontFiles FindFontFiles() {
  // A configuration of our own, loaded once for both faces (loading is most
  // of the time a lookup takes) and released after: nothing of fontconfig
  // stays behind.
  FcConfig* config = FcInitLoadConfigAndFonts();
  FontFiles files{FindFontFile(config, {"ＭＳ ゴシック", "MS Gothic", "IPAGothic", "IPAゴシック"}, kIpaGothicPath),
                  FindFontFile(config, {"DejaVu Sans"}, kDejaVuSansPath)};
  if (config) FcConfigDestroy(config);
  return files;
}

FontFile FindWindowFontFile() { return FindFontFiles().window; }

}  // namespace pelmot
