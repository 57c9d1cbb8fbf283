// Event pictures and day backgrounds: what loads when, the seen flags and
// their file, and the status display cut from the sheet the generator draws.
#include <gtest/gtest.h>

#include <set>

#include "game_fixture.h"
#include "persist/data_files.h"
#include "present/pictures.h"
#include "present/status_display.h"
#include "present/system_pictures.h"
#include "present/text_window.h"

namespace pelmot {
namespace {

using testing::Fill;
using testing::TestGame;

// A picture of one colour per number, told apart by pixel.
Colour PictureColour(int number) { return Rgb(number, 255 - number, 0x40); }

class PicturesTest : public ::testing::Test {
 protected:
  PicturesTest() {
    std::filesystem::create_directories(t.game().PictureFolder());
    for (int n : {0, 37, 134}) WritePicture(n);
    // The status sheet the generator draws, loaded as start-up asks for it.
    const std::string system = t.game().SystemPictureFolder();
    std::filesystem::create_directories(system);
    std::filesystem::copy_file(PicturePath(PELMOT_OUTPUT_DIR "/SYSPIC", kStatusSheet),
                               PicturePath(system, kStatusSheet));
    t.game().statusSheetDue = true;
    GameState& s = t.state();
    s.ShownPic = kNoPicture;
    s.WinDir = t.game().paths.dataRoot;
    std::filesystem::create_directories(s.WinDir + "/TORMVEL/PELMOT");
  }
  void WritePicture(int n) {
    SavePng(std::vector<Colour>(kScreenPixels, PictureColour(n)), 800, 600, PicturePath(t.game().PictureFolder(), n));
  }
  Colour Work(int x, int y) { return t.form().MainWork.ImagePixel(x, y); }
  Colour Shown(int x, int y) { return t.form().MainPic.ScreenPixel(x, y); }
  // MainWork as the day background of `index` loads afresh.
  testing::Pixels Background(int index) {
    ResetStep(t.game());
    ShowBackPic(t.game(), index);
    return t.form().MainWork.Image();
  }
  std::string SeenFile() { return testing::FileBytes(CgSeenPath(t.game())); }
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

// --- the status display of a day scene ---------------------------------------

using namespace status_sheet;
constexpr ScreenRect Rect(SheetPoint at, int w, int h) { return {at.x, at.y, w, h}; }
// Where the display puts its parts on screen.
constexpr ScreenRect kPanelPlace{kPanel.x, kPanel.y, kPanel.w, kPanel.h},
    kTilePlace = Rect(kTileAt, kTileW, kTileH), kStripPlace = Rect(kStripAt, kStripW, kStripH),
    kConditionPlace = Rect(kConditionAt, kConditionStrip0.w, kConditionStrip0.h);

void ExpectApart(const std::vector<ScreenRect>& parts, const ScreenRect& within) {
  for (std::size_t i = 0; i < parts.size(); ++i) {
    EXPECT_TRUE(testing::Within(parts[i], within)) << "part " << i;
    for (std::size_t j = i + 1; j < parts.size(); ++j)
      EXPECT_FALSE(testing::Overlap(parts[i], parts[j])) << "parts " << i << " and " << j;
  }
}

// The generator draws every part where the display cuts it from: parts that
// overlapped would show pieces of each other.
TEST(StatusSheet, ItsPartsNeitherOverlapNorLeaveTheSheetOrTheScreen) {
  std::vector<ScreenRect> onSheet{kPanelPlace, {kSkipButton.x, kSkipButton.y, kSkipButton.w, kSkipButton.h}};
  for (int day = 2; day <= 15; ++day) {
    onSheet.push_back(Rect(*DayTileSource(day), kTileW, kTileH));
    onSheet.push_back(Rect({kStripX, *DayStripSourceY(day)}, kStripW, kStripH));
  }
  // The top two rows of a condition strip are the panel's bottom edge.
  for (int c = 0; c < 8; ++c)
    onSheet.push_back(Rect({kConditionStrip0.x, kConditionStrip0.y + kConditionStrip0.h * c + 2}, kConditionStrip0.w,
                           kConditionStrip0.h - 2));
  for (SheetPoint bar : kBarSource) onSheet.push_back(Rect(bar, kBarMaxW, kBarH));
  ExpectApart(onSheet, kWholeScreen);
  ExpectApart({kTilePlace, kPanelPlace}, kWholeScreen);
  std::vector<ScreenRect> inPanel{kConditionPlace, kStripPlace};
  for (SheetPoint bar : kBarAt) inPanel.push_back(Rect(bar, kBarMaxW, kBarH));
  ExpectApart(inPanel, kPanelPlace);
}

// On the sheet the generator draws: every day and Condition shows a part of
// its own, never the bare sheet around the parts.
TEST_F(PicturesTest, EachDayAndConditionShowsItsOwnPartOfTheDrawnSheet) {
  SaveRecord& r = t.state().SaveRecord;
  std::set<testing::Pixels> tiles, strips, conditions;
  std::set<int> backgrounds;
  for (int n = 114; n <= 124; ++n) WritePicture(n);
  r.Condition = 3;
  for (int day = 1; day <= 16; ++day) {
    r.DayNo = static_cast<std::int16_t>(day);
    const testing::Pixels shown = Background(0);
    const testing::Pixels& sheet = t.state().SysPic[kStatusSheet].Image();
    const Colour bare = sheet[kScreenPixels - 1];
    if (day == 1) {
      EXPECT_EQ(testing::CountColour(shown, PictureColour(121), kTilePlace), kTileW * kTileH) << "no tile";
    } else if (day == 16) {
      EXPECT_EQ(testing::AreaOf(shown, kStripPlace), testing::AreaOf(sheet, kStripPlace)) << "the panel, no strip";
    } else {
      tiles.insert(testing::AreaOf(shown, kTilePlace));
      strips.insert(testing::AreaOf(shown, kStripPlace));
      EXPECT_EQ(testing::CountColour(shown, bare, kTilePlace) + testing::CountColour(shown, bare, kStripPlace), 0)
          << day;
    }
  }
  EXPECT_EQ(tiles.size(), 14u);
  EXPECT_EQ(strips.size(), 14u);
  for (int c = 0; c < 8; ++c) {
    r.Condition = static_cast<std::int16_t>(c);
    conditions.insert(testing::AreaOf(Background(0), kConditionPlace));
    backgrounds.insert(t.state().ShownPic);
    EXPECT_TRUE(std::filesystem::exists(PicturePath(PELMOT_OUTPUT_DIR "/PELMOTPIC", t.state().ShownPic)));
  }
  EXPECT_EQ(conditions.size(), 8u);
  EXPECT_EQ(backgrounds.size(), 8u);
  EXPECT_FALSE(backgrounds.count(114));
  for (int outside : {-1, 8}) {
    r.Condition = static_cast<std::int16_t>(outside);
    Background(0);
    EXPECT_EQ(t.state().ShownPic, 114) << "a Condition outside the table keeps index 0";
  }
  r.Condition = 3;
  Background(6);
  EXPECT_EQ(t.state().ShownPic, 120) << "only index 0 is chosen by Condition";
}

// A bar grows from its left end by 5 pixels at every fifth point up to 120;
// the fourth parameter has none.
TEST_F(PicturesTest, EachBarShowsItsOwnParameterInStepsOfFive) {
  const Surface& sheet = StatusSheet(t.game());
  auto paint = [&](Surface& screen, int bar, int value) {
    SaveRecord r;
    r.Params[static_cast<std::size_t>(bar)] = static_cast<std::int16_t>(value);
    PaintStatusDisplay(screen, sheet, r);
    return screen.Image();
  };
  Surface none, full, before, now;
  EXPECT_EQ(paint(full, 3, 999), paint(none, 0, 0));
  for (int i = 0; i < 3; ++i) {
    const ScreenRect band = Rect(kBarAt[static_cast<std::size_t>(i)], kBarMaxW, kBarH);
    EXPECT_TRUE(testing::Within(testing::Compare(paint(full, i, 999), none.Image()).bounds, band));
    paint(before, i, 0);
    int steps = 0;
    for (int v = 1; v <= 130; ++v) {
      const testing::Difference grew = testing::Compare(paint(now, i, v), before.Image(), band);
      std::swap(before, now);
      if (grew.pixels == 0) continue;
      ++steps;
      EXPECT_EQ(v % 5, 0) << "bar " << i << " at " << v;
      EXPECT_TRUE(testing::Within(grew.bounds, {band.left + v - 5, band.top, 5, kBarH})) << v;
    }
    EXPECT_EQ(steps, 24) << "bar " << i << ": 5, 10 ... 120";
    EXPECT_EQ(before.Image(), full.Image()) << "full from 120";
  }
}

TEST_F(PicturesTest, TheDisplayStaysAsPaintedWhileItsBackgroundStaysLoaded) {
  WritePicture(120);
  SaveRecord& r = t.state().SaveRecord;
  r.DayNo = 4;
  const testing::Pixels day4 = Background(6);
  r.DayNo = 5;
  r.Params[0] = 120;
  ShowBackPic(t.game(), 6);
  EXPECT_EQ(t.form().MainWork.Image(), day4);
  EXPECT_NE(Background(6), day4) << "loaded again, it shows the new values";
}

}  // namespace
}  // namespace pelmot
