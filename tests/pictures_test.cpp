// Event pictures and day backgrounds: what loads when, the seen flags and
// their file, and the status display cut from the sheet.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "game_fixture.h"
#include "persist/data_files.h"
#include "present/pictures.h"
#include "present/status_display.h"
#include "present/text_window.h"

namespace pelmot {
namespace {

using testing::TestGame;

void Fill(Surface& s, Colour c) { s.MutableImage().assign(s.Image().size(), c); }

// A picture of one colour per number, told apart by pixel.
Colour PictureColour(int number) { return Rgb(number, 255 - number, 0x40); }

// A status sheet whose every pixel tells where on the sheet it lies.
Colour SheetCode(int x, int y) { return static_cast<Colour>(x * 1024 + y); }

class PicturesTest : public ::testing::Test {
 protected:
  PicturesTest() {
    const std::string folder = t.game().PictureFolder();
    std::filesystem::create_directories(folder);
    for (int n : {0, 5, 37, 114, 115, 117, 119, 120, 121, 123, 124, 134}) {
      const std::vector<Colour> pixels(800 * 600, PictureColour(n));
      SavePng(pixels, 800, 600, PicturePath(folder, n));
    }
    Surface& sheet = t.state().SysPic[11];
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) sheet.SetImagePixel(x, y, SheetCode(x, y));
    GameState& s = t.state();
    s.ShownPic = kNoPicture;
    s.WinDir = t.game().paths.dataRoot;
    std::filesystem::create_directories(s.WinDir + "/TORMVEL/PELMOT");
  }
  Colour Work(int x, int y) { return t.form().MainWork.ImagePixel(x, y); }
  Colour Shown(int x, int y) { return t.form().MainPic.ScreenPixel(x, y); }
  std::string SeenFile() {
    std::ifstream in(CgSeenPath(t.game()), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  TestGame t;
};

TEST_F(PicturesTest, ModeTwoLoadsIntoMainWorkAndShowsNothing) {
  Fill(t.form().MainPic, kBlack);
  t.form().MainPic.Refresh();
  ShowEventPic(t.game(), 37, PictureShow::WithNextText);
  EXPECT_EQ(Work(400, 300), PictureColour(37));
  EXPECT_EQ(t.state().ShownPic, 37);
  EXPECT_EQ(Shown(400, 300), kBlack);
  ShowText2(t.game(), "");  // the next text shows it
  EXPECT_EQ(Shown(400, 300), PictureColour(37));
}

TEST_F(PicturesTest, ModeOneShowsAtOnceAndKeepsIt) {
  ShowEventPic(t.game(), 37, PictureShow::Now);
  EXPECT_EQ(Shown(0, 0), PictureColour(37));
  EXPECT_EQ(t.form().MainPic.ImagePixel(799, 599), PictureColour(37));
}

TEST_F(PicturesTest, ThePictureAlreadyLoadedIsNeitherReloadedNorShownAgain) {
  ShowEventPic(t.game(), 37, PictureShow::Now);
  Fill(t.form().MainWork, kWhite);
  Fill(t.form().MainPic, kBlack);
  t.form().MainPic.Refresh();
  ShowEventPic(t.game(), 37, PictureShow::Now);
  EXPECT_EQ(Work(10, 10), kWhite);
  EXPECT_EQ(Shown(10, 10), kBlack);
}

TEST_F(PicturesTest, AfterResetStepTheSameNumberLoadsAgain) {
  ShowEventPic(t.game(), 37, PictureShow::WithNextText);
  Fill(t.form().MainWork, kWhite);
  ResetStep(t.game());
  ShowEventPic(t.game(), 37, PictureShow::WithNextText);
  EXPECT_EQ(Work(10, 10), PictureColour(37));
}

TEST_F(PicturesTest, PendingTextMarksSeenButLoadsNothing) {
  t.state().PendingText = "つづき";
  ShowEventPic(t.game(), 37, PictureShow::Now);
  EXPECT_EQ(t.state().CgSeen[37], 1);
  EXPECT_EQ(t.state().ShownPic, kNoPicture);
  EXPECT_NE(Work(10, 10), PictureColour(37));
  ShowBackPic(t.game(), 1);
  EXPECT_EQ(t.state().ShownPic, kNoPicture);
}

TEST_F(PicturesTest, SeenFlagIsWrittenOnlyWhenItChanges) {
  ShowEventPic(t.game(), 37, PictureShow::WithNextText);
  std::string file = SeenFile();
  ASSERT_EQ(file.size(), static_cast<std::size_t>(kCgSeenSize));
  EXPECT_EQ(file[37], 1);
  std::filesystem::remove(CgSeenPath(t.game()));
  ResetStep(t.game());
  ShowEventPic(t.game(), 37, PictureShow::WithNextText);
  EXPECT_FALSE(std::filesystem::exists(CgSeenPath(t.game()))) << "an unchanged flag writes nothing";
  ShowEventPic(t.game(), 134, PictureShow::WithNextText);
  file = SeenFile();
  ASSERT_EQ(file.size(), static_cast<std::size_t>(kCgSeenSize));
  EXPECT_EQ(file[134], 1);
  EXPECT_EQ(file[37], 1);
}

TEST_F(PicturesTest, OnlyPictures0To134HaveSeenFlags) {
  t.state().EndingNo() = 6;
  ShowEventPic(t.game(), 135, PictureShow::WithNextText);
  ShowEventPic(t.game(), 200, PictureShow::WithNextText);
  ShowEventPic(t.game(), -1, PictureShow::WithNextText);
  EXPECT_EQ(t.state().EndingNo(), 6);
  for (int n = 0; n < 135; ++n) EXPECT_EQ(t.state().CgSeen[n], 0) << n;
  ShowEventPic(t.game(), 0, PictureShow::WithNextText);
  EXPECT_EQ(t.state().CgSeen[0], 1);
}

TEST_F(PicturesTest, MissingPictureLeavesAPlaceholderAndOneWarning) {
  ::testing::internal::CaptureStderr();
  ShowEventPic(t.game(), 77, PictureShow::Now);
  ResetStep(t.game());
  ShowEventPic(t.game(), 77, PictureShow::Now);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("PELMOTPIC/77.png"), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line: " << err;
  EXPECT_EQ(Work(5, 5), Rgb(96, 96, 96));
  EXPECT_EQ(t.state().CgSeen[77], 1);
  EXPECT_EQ(Shown(5, 5), Rgb(96, 96, 96));
}

TEST(BackgroundIndex, ConditionChoosesIndexZero) {
  const int expected[8] = {5, 3, 6, 7, 9, 2, 4, 10};
  for (int c = 0; c < 8; ++c) EXPECT_EQ(BackgroundIndex(0, c), expected[c]) << c;
  EXPECT_EQ(BackgroundIndex(0, 8), 0);
  EXPECT_EQ(BackgroundIndex(0, -1), 0);
  EXPECT_EQ(BackgroundIndex(12, 3), 12);
}

TEST(BarWidth, StepsOfFiveUpToTheFullBar) {
  EXPECT_EQ(BarWidth(0), 0);
  for (int v = 1; v <= 4; ++v) EXPECT_EQ(BarWidth(v), 0) << v;
  EXPECT_EQ(BarWidth(5), 5);
  EXPECT_EQ(BarWidth(64), 60);
  EXPECT_EQ(BarWidth(119), 115);
  EXPECT_EQ(BarWidth(120), 120);
  EXPECT_EQ(BarWidth(999), 120);
}

TEST(DayStrip, SourceRowByDay) {
  const int expected[14] = {246, 205, 533, 0, 328, 164, 369, 287, 82, 410, 492, 41, 123, 451};
  for (int day = 2; day <= 15; ++day) EXPECT_EQ(DayStripSourceY(day), expected[day - 2]) << day;
  EXPECT_FALSE(DayStripSourceY(1));
  EXPECT_FALSE(DayStripSourceY(16));
}

TEST(DayTile, SixTilesToAColumn) {
  EXPECT_EQ(DayTileSource(2)->x, 0);
  EXPECT_EQ(DayTileSource(2)->y, 0);
  EXPECT_EQ(DayTileSource(9)->x, 157);
  EXPECT_EQ(DayTileSource(9)->y, 89);
  EXPECT_EQ(DayTileSource(15)->x, 314);
  EXPECT_EQ(DayTileSource(15)->y, 89);
  EXPECT_FALSE(DayTileSource(1));
}

TEST_F(PicturesTest, BackgroundByConditionWithTheStatusDisplay) {
  SaveRecord& r = t.state().SaveRecord;
  r.Condition = 3;
  r.DayNo = 9;
  r.Params = {119, 3, 500, 999};
  ShowBackPic(t.game(), 0);
  EXPECT_EQ(t.state().ShownPic, 121);  // 114 + 7
  // Day tile d = 7: column 1, row 1 of the sheet, at 10, 10.
  EXPECT_EQ(Work(10, 10), SheetCode(157, 89));
  EXPECT_EQ(Work(166, 98), SheetCode(313, 177));
  EXPECT_EQ(Work(167, 98), PictureColour(121));
  EXPECT_EQ(Work(9, 9), PictureColour(121));
  // The panel comes from its own place.
  EXPECT_EQ(Work(562, 11), SheetCode(562, 11));
  EXPECT_EQ(Work(787, 222), SheetCode(787, 222));
  EXPECT_EQ(Work(788, 222), PictureColour(121));
  EXPECT_EQ(Work(561, 11), PictureColour(121));
  // Condition strip 3.
  EXPECT_EQ(Work(656, 140), SheetCode(656, 221 + 38 * 3));
  EXPECT_EQ(Work(775, 177), SheetCode(775, 221 + 38 * 3 + 37));
  // Bars: 119 is 115 wide, 3 has none, 500 is full; Params[3] has no bar.
  EXPECT_EQ(Work(656 + 114, 16), SheetCode(314 + 114, 178));
  EXPECT_EQ(Work(656 + 115, 16), SheetCode(656 + 115, 16));
  EXPECT_EQ(Work(656, 56), SheetCode(656, 56));
  EXPECT_EQ(Work(656 + 119, 135), SheetCode(314 + 119, 258 + 39));
  // Day strip of day 9.
  EXPECT_EQ(Work(676, 183), SheetCode(480, 287));
  EXPECT_EQ(Work(745, 215), SheetCode(549, 287 + 32));
}

TEST_F(PicturesTest, DisplayIsKeptWhileTheSameBackgroundStaysLoaded) {
  SaveRecord& r = t.state().SaveRecord;
  r.DayNo = 4;
  ShowBackPic(t.game(), 6);
  EXPECT_EQ(t.state().ShownPic, 120);
  r.DayNo = 5;
  r.Params[0] = 120;
  ShowBackPic(t.game(), 6);
  EXPECT_EQ(Work(676, 183), SheetCode(480, 533)) << "still the strip of day 4";
  EXPECT_EQ(Work(656, 16), SheetCode(656, 16)) << "still no bar";
}

TEST_F(PicturesTest, NoDayStripAfterTheLastDayAndNoTileBeforeTheFirst) {
  SaveRecord& r = t.state().SaveRecord;
  r.DayNo = 16;
  ShowBackPic(t.game(), 1);
  EXPECT_EQ(Work(676, 183), SheetCode(676, 183)) << "the panel shows through";
  EXPECT_EQ(Work(10, 10), SheetCode(314, 178)) << "d = 14 is cut where it falls";
  ResetStep(t.game());
  r.DayNo = 1;
  ShowBackPic(t.game(), 1);
  EXPECT_EQ(Work(10, 10), PictureColour(115));
}

TEST_F(PicturesTest, ConditionOutsideTheTableShowsPicture114) {
  t.state().SaveRecord.Condition = 8;
  ShowBackPic(t.game(), 0);
  EXPECT_EQ(t.state().ShownPic, 114);
}

}  // namespace
}  // namespace pelmot
