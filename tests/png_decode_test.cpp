// Our PNG reader against libpng (through SDL_image): the same pixels for
// every layout it takes and every row filter, SDL_image for the layouts it
// leaves, and a clear refusal, never a crash, for damaged or lying files.
#include <gtest/gtest.h>
#include <libdeflate.h>
#include <png.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "game_fixture.h"
#include "platform/common/png_decode.h"

namespace pelmot {
namespace {

// What libpng is asked to write: raw samples are random, or a smooth ramp
// in the lower half so that the predictors meet ties and small steps.
struct PngShape {
  int width = 13, height = 9;
  int colourType = PNG_COLOR_TYPE_RGB, depth = 8;
  int filters = PNG_ALL_FILTERS;
  int paletteSize = 256;
  std::vector<png_byte> transparency;  // tRNS: alphas of a palette, or empty
  bool keyColour = false;              // tRNS: one transparent grey or RGB
  bool interlaced = false;
  std::size_t idatBytes = 8192;  // how libpng splits the image data
  bool text = false;             // a tEXt chunk after the header
};

int Channels(int colourType) {
  switch (colourType) {
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    default: return 1;
  }
}

std::vector<std::vector<png_byte>> RawRows(const PngShape& shape, unsigned seed) {
  std::mt19937 random(seed);
  const std::size_t rowBytes =
      (static_cast<std::size_t>(shape.width) * Channels(shape.colourType) * shape.depth + 7) / 8;
  std::vector<std::vector<png_byte>> rows(shape.height, std::vector<png_byte>(rowBytes));
  for (int y = 0; y < shape.height; ++y)
    for (std::size_t i = 0; i < rowBytes; ++i)
      rows[y][i] = static_cast<png_byte>(y < shape.height / 2 ? random() : (i * 7 + y * 3) & 0xFF);
  return rows;
}

// One chunk: length, type, data and checksum.
std::string Chunk(const std::string& type, const std::string& data) {
  std::string chunk;
  for (int shift : {24, 16, 8, 0}) chunk.push_back(static_cast<char>(data.size() >> shift & 0xFF));
  chunk += type + data;
  const auto crc = static_cast<std::uint32_t>(libdeflate_crc32(0, chunk.data() + 4, chunk.size() - 4));
  for (int shift : {24, 16, 8, 0}) chunk.push_back(static_cast<char>(crc >> shift & 0xFF));
  return chunk;
}

// Where the first chunk of `type` starts in `file`.
std::size_t ChunkAt(const std::string& file, const std::string& type) { return file.find(type) - 4; }

// The file with its palette cut to `entries` colours, so that indices past
// it appear (libpng will not write them).
std::string WithShortPalette(std::string file, int entries) {
  const std::size_t at = ChunkAt(file, "PLTE");
  const std::string palette = file.substr(at + 8, 3 * entries);
  return file.replace(at, 12 + 3 * 256, Chunk("PLTE", palette));
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

std::string WritePng(const PngShape& shape, unsigned seed = 1) {
  std::string file;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    ADD_FAILURE() << "libpng could not write the picture";
    return "";
  }
  png_set_write_fn(png, &file, AppendBytes, nullptr);
  png_set_IHDR(png, info, shape.width, shape.height, shape.depth, shape.colourType,
               shape.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette(shape.paletteSize);
  for (int i = 0; i < shape.paletteSize; ++i)
    palette[i] = {static_cast<png_byte>(i * 37), static_cast<png_byte>(255 - i), static_cast<png_byte>(i * 11 + 5)};
  if (shape.colourType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette.data(), shape.paletteSize);
  png_color_16 key{0, 40, 50, 60, 1};
  if (!shape.transparency.empty())
    png_set_tRNS(png, info, shape.transparency.data(), static_cast<int>(shape.transparency.size()), nullptr);
  if (shape.keyColour) png_set_tRNS(png, info, nullptr, 0, &key);
  png_text note{};
  note.compression = PNG_TEXT_COMPRESSION_NONE;
  note.key = const_cast<char*>("Comment");
  note.text = const_cast<char*>("a note");
  note.text_length = 6;
  if (shape.text) png_set_text(png, info, &note, 1);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, shape.filters);
  png_set_compression_buffer_size(png, shape.idatBytes);
  png_write_info(png, info);
  auto rows = RawRows(shape, seed);
  std::vector<png_bytep> pointers;
  for (auto& row : rows) pointers.push_back(row.data());
  png_write_image(png, pointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return file;
}

PngShape Shape(int colourType, int depth = 8, int paletteSize = 256) {
  PngShape shape;
  shape.colourType = colourType;
  shape.depth = depth;
  shape.paletteSize = paletteSize;
  return shape;
}

PngShape Sized(PngShape shape, int width, int height, std::size_t idatBytes = 8192) {
  shape.width = width;
  shape.height = height;
  shape.idatBytes = idatBytes;
  return shape;
}

PngShape WithTransparency(PngShape shape, std::vector<png_byte> alphas) {
  shape.transparency = std::move(alphas);
  return shape;
}

PngShape WithKeyAndText(PngShape shape) {
  shape.keyColour = shape.text = true;
  return shape;
}

std::string Describe(const PngShape& s) {
  return "colour type " + std::to_string(s.colourType) + ", depth " + std::to_string(s.depth) + ", filters " +
         std::to_string(s.filters) + ", " + std::to_string(s.width) + " x " + std::to_string(s.height) + ", palette " +
         std::to_string(s.paletteSize) + ", tRNS " + std::to_string(s.transparency.size());
}

// Our reader takes the file and gives libpng's pixels, also into buffers
// the pictures decoded before leave behind.
struct Reused {
  DecodeScratch scratch;
  DecodedPicture picture;
};
void ExpectSameAsLibpng(const std::string& file, const std::string& what, Reused& reused) {
  DecodedPicture& ours = reused.picture;
  DecodedPicture theirs;
  std::string error;
  ASSERT_EQ(DecodePng(file, ours, error, reused.scratch), PngResult::kDecoded) << what << ": " << error;
  ASSERT_TRUE(DecodeWithSdl(file, theirs, error)) << what << ": " << error;
  EXPECT_EQ(ours.width, theirs.width) << what;
  EXPECT_EQ(ours.height, theirs.height) << what;
  EXPECT_EQ(ours.pixels, theirs.pixels) << what;
}

TEST(PngReader, GivesLibpngsPixelsForEveryLayoutAndFilter) {
  std::vector<PngShape> layouts;
  for (int depth : {1, 2, 4, 8}) layouts.push_back(Shape(PNG_COLOR_TYPE_GRAY, depth));
  for (int depth : {1, 2, 4, 8}) layouts.push_back(Shape(PNG_COLOR_TYPE_PALETTE, depth, 1 << depth));
  for (int colourType : {PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA})
    layouts.push_back(Shape(colourType));
  // One transparent entry (a colour key to SDL_image) and several partly
  // transparent ones (an alpha channel).
  layouts.push_back(WithTransparency(Shape(PNG_COLOR_TYPE_PALETTE), {255, 0, 255}));
  layouts.push_back(WithTransparency(Shape(PNG_COLOR_TYPE_PALETTE, 4, 16), {9, 200}));
  layouts.push_back(WithKeyAndText(Shape(PNG_COLOR_TYPE_RGB)));
  Reused reused;
  for (const PngShape& layout : layouts)
    for (int filters :
         {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_AVG, PNG_FILTER_PAETH, PNG_ALL_FILTERS})
      for (int width : {1, 3, 13, 64}) {
        PngShape shape = layout;
        shape.filters = filters;
        shape.width = width;
        ExpectSameAsLibpng(WritePng(shape), Describe(shape), reused);
        if (shape.colourType == PNG_COLOR_TYPE_PALETTE && shape.depth == 8 && shape.transparency.empty())
          ExpectSameAsLibpng(WithShortPalette(WritePng(shape), 100), Describe(shape) + ", cut to 100 colours", reused);
      }
}

TEST(PngReader, TakesWholeScreenPicturesInManyImageChunks) {
  Reused reused;
  for (int colourType : {PNG_COLOR_TYPE_RGB_ALPHA, PNG_COLOR_TYPE_RGB}) {
    const PngShape shape = Sized(Shape(colourType), 800, 600, 1000);
    ExpectSameAsLibpng(WritePng(shape, 7), Describe(shape), reused);
  }
}

TEST(PngReader, LeavesSixteenBitInterlacedAndGreyKeyedPicturesToSdlImage) {
  std::vector<PngShape> others = {Shape(PNG_COLOR_TYPE_RGB, 16), Shape(PNG_COLOR_TYPE_RGB), Shape(PNG_COLOR_TYPE_GRAY)};
  others[1].interlaced = true;
  others[2].keyColour = true;
  testing::TempDir dir;
  for (const PngShape& shape : others) {
    const std::string file = WritePng(shape);
    DecodedPicture picture;
    std::string error;
    EXPECT_EQ(DecodePng(file, picture, error), PngResult::kOtherFormat) << Describe(shape);
    const std::string path = dir.path() + "/other.png";
    std::ofstream(path, std::ios::binary) << file;
    ASSERT_TRUE(DecodePictureFile(path, picture, error)) << Describe(shape) << ": " << error;
    EXPECT_EQ(picture.width, shape.width);
  }
  DecodedPicture picture;
  std::string error;
  EXPECT_EQ(DecodePng("GIF89a", picture, error), PngResult::kOtherFormat);
}

// Every system picture and every fourth story picture (they come from one
// drawing program).
TEST(PngReader, GivesLibpngsPixelsForTheDefaultPictures) {
  int pictures = 0, seen = 0;
  Reused reused;
  for (const char* folder : {"SYSPIC", "PELMOTPIC"})
    for (const auto& entry : std::filesystem::directory_iterator(std::string(PELMOT_OUTPUT_DIR) + "/" + folder)) {
      if (entry.path().extension() != ".png" || (folder[0] == 'P' && seen++ % 4 != 0)) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      ExpectSameAsLibpng(file, entry.path().string(), reused);
      ++pictures;
    }
  EXPECT_GT(pictures, 40);
}

// A PNG file of our own making from raw rows (each led by its filter type
// byte), so its image data can say what no encoder would write.

std::string Header(std::uint32_t width, std::uint32_t height, int depth = 8, int colourType = 2) {
  std::string ihdr;
  for (std::uint32_t v : {width, height})
    for (int shift : {24, 16, 8, 0}) ihdr.push_back(static_cast<char>(v >> shift & 0xFF));
  ihdr += {static_cast<char>(depth), static_cast<char>(colourType), 0, 0, 0};
  return Chunk("IHDR", ihdr);
}

std::string Compressed(const std::string& raw) {
  libdeflate_compressor* compressor = libdeflate_alloc_compressor(6);
  std::string out(libdeflate_zlib_compress_bound(compressor, raw.size()), '\0');
  out.resize(libdeflate_zlib_compress(compressor, raw.data(), raw.size(), out.data(), out.size()));
  libdeflate_free_compressor(compressor);
  return out;
}

std::string MadePng(std::uint32_t width, std::uint32_t height, const std::string& raw) {
  return std::string("\x89PNG\r\n\x1a\n", 8) + Header(width, height) + Chunk("IDAT", Compressed(raw)) +
         Chunk("IEND", "");
}

std::string Refusal(const std::string& file) {
  DecodedPicture picture;
  std::string error;
  const PngResult result = DecodePng(file, picture, error);
  EXPECT_EQ(result, PngResult::kDamaged) << error;
  EXPECT_FALSE(error.empty());
  return error;
}

TEST(PngReader, RefusesDamagedAndLyingFilesSayingWhy) {
  PngShape shape = Sized(Shape(PNG_COLOR_TYPE_RGB), 40, 30, 500);
  shape.text = true;
  const std::string good = WritePng(shape, 3);
  Reused fresh;
  ExpectSameAsLibpng(good, "the intact file", fresh);
  const std::size_t idat = ChunkAt(good, "IDAT"), text = ChunkAt(good, "tEXt");

  std::string flipped = good;
  flipped[idat + 20] ^= 0x10;
  EXPECT_EQ(Refusal(flipped), "chunk IDAT is damaged (its checksum does not match)");
  flipped = good;
  flipped[text + 10] ^= 0x01;
  EXPECT_EQ(Refusal(flipped), "chunk tEXt is damaged (its checksum does not match)");

  EXPECT_EQ(Refusal(good.substr(0, idat + 100)),
            "the file ends inside chunk IDAT, which says it holds 500 bytes; 88 are left");
  std::string claiming = good;
  claiming[idat] = '\x7f';  // 2 GB of image data, in a file of 3 kB
  EXPECT_NE(Refusal(claiming).find("the file ends inside chunk IDAT"), std::string::npos);

  const std::string row(1 + 3 * 4, '\0');  // 4 x 1, filter None, black
  EXPECT_EQ(Refusal(MadePng(4, 3, row + row)),
            "the image data ends after 26 of the 39 bytes a 4 x 3 picture of its layout needs");
  EXPECT_EQ(Refusal(MadePng(4, 2, row + row + row)),
            "the image data holds more than the 26 bytes a 4 x 2 picture of its layout needs");
  EXPECT_EQ(Refusal(MadePng(4, 2, row + '\x05' + row.substr(1))), "row 1 has filter type 5; there are 0 to 4");
  EXPECT_EQ(Refusal(MadePng(801, 1, std::string(1 + 3 * 801, '\0'))),
            "the picture says it is 801 x 1; a picture is at most 800 x 600");
  const std::string garbled = std::string("\x89PNG\r\n\x1a\n", 8) + Header(4, 2) +
                              Chunk("IDAT", std::string("\x78\x9c\xff\xff", 4)) + Chunk("IEND", "");
  EXPECT_EQ(Refusal(garbled), "the image data is damaged (it does not inflate)");

  // The header, changed to a larger or smaller height with a matching
  // checksum: the image data no longer fits it.
  for (std::uint32_t height : {31u, 29u}) {
    std::string lying = good;
    lying.replace(8, 25, Header(40, height));
    EXPECT_NE(Refusal(lying).find(" bytes a 40 x " + std::to_string(height) + " picture"), std::string::npos);
  }
}

TEST(PngReader, NeverCrashesOnACutOrFlippedFile) {
  PngShape shape = Sized(Shape(PNG_COLOR_TYPE_PALETTE, 4, 16), 7, 5, 20);
  shape.text = true;
  const std::string good = WritePng(shape, 5);
  DecodedPicture picture;
  std::string error;
  // Only the end marker may go missing, as libpng never reads it.
  const std::size_t end = ChunkAt(good, "IEND");
  for (std::size_t length = 0; length < good.size(); ++length)
    EXPECT_EQ(DecodePng(good.substr(0, length), picture, error) == PngResult::kDecoded, length == end) << length;
  for (std::size_t at = 8; at < good.size(); ++at)
    for (int bit : {0, 7}) {
      std::string flipped = good;
      flipped[at] ^= static_cast<char>(1 << bit);
      error.clear();
      if (DecodePng(flipped, picture, error) == PngResult::kDamaged) {
        EXPECT_FALSE(error.empty()) << at;
      }
    }
}

TEST(PngReader, ADamagedPictureShowsThePlaceholderWithTheReasonUnlessLibpngForgivesIt) {
  testing::TempDir dir;
  std::string file = WritePng(Sized(Shape(PNG_COLOR_TYPE_RGB), 20, 20), 9);
  file[ChunkAt(file, "IDAT") + 30] ^= 0x40;
  std::ofstream(PicturePath(dir.path(), 4), std::ios::binary) << file;
  PngPictureLoader loader;
  Surface target;
  ::testing::internal::CaptureStderr();
  loader.PicLoad(target, 4, dir.path());
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(PicturePath(dir.path(), 4) + " (chunk IDAT is damaged (its checksum does not match))"),
            std::string::npos)
      << err;
  EXPECT_EQ(target.ImagePixel(0, 0), Rgb(96, 96, 96)) << "the placeholder";

  // Damage libpng forgives (a comment's checksum) shows the picture, as it
  // always did.
  PngShape shape = Sized(Shape(PNG_COLOR_TYPE_RGB), 20, 20);
  shape.text = true;
  std::string commented = WritePng(shape, 9);
  commented[ChunkAt(commented, "tEXt") + 10] ^= 0x01;
  std::ofstream(PicturePath(dir.path(), 5), std::ios::binary | std::ios::trunc) << commented;
  DecodedPicture shown, expected;
  std::string error;
  ASSERT_TRUE(DecodePictureFile(PicturePath(dir.path(), 5), shown, error)) << error;
  ASSERT_TRUE(DecodeWithSdl(commented, expected, error)) << error;
  EXPECT_EQ(shown.pixels, expected.pixels);
}

}  // namespace
}  // namespace pelmot
