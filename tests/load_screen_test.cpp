// A loaded game shows what the screen showed when it was saved, and slots
// that would resume into a dead end are refused.
#include <gtest/gtest.h>

#include <fstream>

#include "comforts/comfort_geometry.h"
#include "comforts/comforts.h"
#include "comforts/day_name.h"
#include "game/flow_steps.h"
#include "persist/data_files.h"
#include "persist/stamps.h"
#include "platform/common/files.h"
#include "platform/ui_text.h"
#include "platform/utf8.h"
#include "present/system_pictures.h"
#include "scenes/playable_slot.h"
#include "story_fixture.h"

namespace pelmot {
namespace {

using testing::DefaultStory;
using testing::StoryGame;

class LoadScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.clock.Set({2026, 12, 6, 9, 21, 5});
    t.Start();
  }
  GameState& s() { return t.state(); }
  std::vector<Colour> Screen() { return t.form().MainPic.ScreenPixels(); }

  void OpenSystemMenu() {
    t.RightClick(400, 300);
    t.RightClick(400, 300);
    ASSERT_EQ(s().MenuItems[0], "セーブ");
  }
  void SaveToSlotOne() {
    OpenSystemMenu();
    t.Pick(0);  // セーブ
    t.Pick(0);  // データ１
    t.Pick(0);  // はい
  }
  void BackToTitleAndLoadSlotOne() {
    OpenSystemMenu();
    t.Pick(2);  // タイトルに戻る
    t.Pick(0);
    ASSERT_EQ(s().FlowMode, kModeTitle);
    t.Click(400, 300);
    t.Pick(1);  // ゲームロード
    t.Pick(0);
    t.Pick(0);
  }
  void WriteSlotOne(const SaveRecord& r) {
    std::ofstream(SlotPath(t.game(), 0), std::ios::binary | std::ios::trunc) << EncodeSlot(r);
    s().SaveDate[0] = MakeStamp({2026, 12, 6, 9, 0, 0});
  }
  // A step of `scene` at or after `from` that shows a line but loads no
  // picture of its own: its picture comes from an earlier step.
  int StepWithoutItsOwnPicture(int scene, int from) {
    const Lane& lane = DefaultStory()->Find(scene)->lanes.front();
    for (int k = std::max(from, lane.first); k <= lane.Last(); ++k) {
      bool line = false, picture = false;
      for (const Op& op : lane.At(k)->ops) {
        line = line || op.kind == OpKind::Line;
        picture = picture || op.kind == OpKind::Picture || op.kind == OpKind::Background;
      }
      if (line && !picture) return k;
    }
    return -1;
  }
  void ClickToStep(int step) {
    while (s().StepNo[kModeScene] < step || !s().PendingText.empty()) t.Click(400, 300);
    ASSERT_EQ(s().StepNo[kModeScene], step);
  }

  StoryGame t;
};

TEST_F(LoadScreenTest, ADaySceneLoadsWithItsStatusDisplay) {
  // A sheet unlike any placeholder picture, so the status display shows.
  StatusSheet(t.game());  // loaded as a background would, then replaced
  testing::Fill(s().SysPic[11], Rgb(200, 30, 30));
  t.StartScene(15, 0, 2);
  while (s().ShownPic < 115 || s().ShownPic > 134) t.Click(400, 300);
  const int background = s().ShownPic;
  // A menu opened and closed first: the picture stays, ShownPic forgets it.
  OpenSystemMenu();
  t.Pick(5);  // キャンセル
  ASSERT_EQ(s().ShownPic, kNoPicture);
  const std::vector<Colour> saved = Screen();
  const int step = s().StepNo[kModeScene];
  SaveToSlotOne();
  EXPECT_EQ(DecodeSlot(*ReadWholeFile(SlotPath(t.game(), 0)))->SavedPic, background);
  BackToTitleAndLoadSlotOne();
  EXPECT_EQ(s().SceneNo, 15);
  EXPECT_EQ(s().StepNo[kModeScene], step);
  EXPECT_EQ(s().ShownPic, background);
  EXPECT_EQ(t.form().MainPic.ScreenPixel(600, 20), Rgb(200, 30, 30)) << "the panel";
  EXPECT_TRUE(Screen() == saved) << "the background with the status display and the same line";
}

TEST_F(LoadScreenTest, ASaveAfterAClosedMenuShowsThePictureOfItsStretch) {
  t.StartScene(3);
  const int step = StepWithoutItsOwnPicture(3, 1);
  ASSERT_GT(step, 0);
  ClickToStep(step);
  const int picture = t.game().mainWorkPicture;
  ASSERT_TRUE(picture > 0 && picture < 135);
  OpenSystemMenu();
  t.Pick(5);  // キャンセル
  const std::vector<Colour> saved = Screen();
  SaveToSlotOne();
  EXPECT_EQ(DecodeSlot(*ReadWholeFile(SlotPath(t.game(), 0)))->SavedPic, picture);
  BackToTitleAndLoadSlotOne();
  EXPECT_EQ(s().StepNo[kModeScene], step);
  EXPECT_EQ(s().ShownPic, picture);
  EXPECT_TRUE(Screen() == saved) << "not the title picture behind the line";
}

TEST_F(LoadScreenTest, AnOldSlotHoldingNoPictureFindsItFromTheScenesSteps) {
  t.StartScene(3);
  const int step = StepWithoutItsOwnPicture(3, 1);
  ClickToStep(step);
  const std::vector<Colour> onScreen = Screen();
  const int picture = t.game().mainWorkPicture;
  SaveRecord r = t.record();
  r.ResumeMode = 1;
  r.SavedScene = 3;
  r.SceneStep = static_cast<std::int16_t>(step);
  r.SavedPic = kNoPicture;  // what the original program saved after a menu closed
  WriteSlotOne(r);
  BackToTitleAndLoadSlotOne();
  ASSERT_TRUE(t.dialogs.messages.empty());
  EXPECT_EQ(s().ShownPic, picture);
  EXPECT_TRUE(Screen() == onScreen);
}

TEST_F(LoadScreenTest, SlotsThatResumeIntoADeadEndAreRefused) {
  t.StartScene(3);
  t.Click(400, 300);
  const GameState before = s();
  SaveRecord r = t.record();
  r.ResumeMode = 1;
  r.SavedScene = 3;
  r.SavedPic = 5;
  const int last = DefaultStory()->Find(3)->lanes.front().Last();
  // A pick no choice can make (a choice offers at most five options) is
  // refused as the other impossible values are.
  struct Case {
    std::int16_t mode, step, pick;
  } refused[] = {{5, 3, 0},
                 {1, 30000, 0},
                 {1, static_cast<std::int16_t>(last + 1), 0},
                 {1, static_cast<std::int16_t>(last), 5},
                 {1, static_cast<std::int16_t>(last), -1}};
  for (const Case& c : refused) {
    r.ResumeMode = c.mode;
    r.SceneStep = c.step;
    r.LastChoice = c.pick;
    WriteSlotOne(r);
    OpenSystemMenu();
    t.Pick(1);  // ロード
    t.Pick(0);
    t.Pick(0);
    ASSERT_EQ(t.dialogs.messages.size(), 1u) << c.mode << " " << c.step << " " << c.pick;
    EXPECT_NE(t.dialogs.messages[0].find("再開できません"), std::string::npos);
    t.dialogs.messages.clear();
    EXPECT_EQ(s().FlowMode, kModeScene);
    EXPECT_EQ(s().SceneNo, before.SceneNo);
    EXPECT_EQ(s().StepNo[kModeScene], before.StepNo[kModeScene]);
  }
  r.ResumeMode = 1;
  r.SceneStep = static_cast<std::int16_t>(last);
  r.LastChoice = t.record().LastChoice;
  WriteSlotOne(r);
  std::string problem;
  EXPECT_TRUE(ReadSlot(t.game(), 0, problem)) << problem;
}

// With the setting on, the list of slots shows the framed slot's picture
// dimmed behind it, with its day and the first words of its line; off, or
// for a slot that cannot be loaded, the screen is the game's own.
class SavePreviewTest : public LoadScreenTest {
 protected:
  testing::Pixels Composed() {
    testing::Pixels p(kScreenPixels);
    t.host().Compose(p);
    return p;
  }
  testing::Pixels GameOnly() {
    testing::Pixels p(kScreenPixels);
    ComposeClientArea(t.game(), p);
    return p;
  }
  void FrameByPointer(int row) {
    const auto p = PickPoint(t.game(), row);
    ASSERT_TRUE(p);
    t.Move(p->x, p->y);
  }
  // Through F2, as a player turns it on.
  void TurnPreviewsOn() {
    t.KeyDown(kVkF2);
    while (t.comforts().settingsScreen.rows.selected != static_cast<int>(SettingsRow::SavePreviews)) t.KeyDown(kVkDown);
    t.KeyDown(kVkEnter);
    t.KeyDown(kVkEscape);
    ASSERT_FALSE(t.comforts().settingsScreen.open);
  }
  void OpenTitleLoadList() {
    OpenSystemMenu();
    t.Pick(2);  // タイトルに戻る
    t.Pick(0);
    t.Click(400, 300);
    t.Pick(1);  // ゲームロード
    ASSERT_EQ(s().MenuItems[kFileListCancelRow], "キャンセル");
  }
};

TEST_F(SavePreviewTest, TheFramedSlotShowsItsPictureDayAndLine) {
  t.Click(400, 300);  // the logo closes: the picture covers the client area
  ASSERT_EQ(t.form().MainPic.left, 0);
  t.text.drawn.clear();
  t.StartScene(3, 0, 4);
  ASSERT_TRUE(s().ClickAdvances);
  ASSERT_FALSE(t.text.drawn.empty());
  const std::u32string firstRow = DecodeUtf8(t.text.drawn.front());
  const int picture = t.game().mainWorkPicture;
  ASSERT_TRUE(picture > 0 && picture < 135);
  SaveToSlotOne();
  OpenTitleLoadList();

  // Off: framing a slot leaves the game's pixels alone.
  FrameByPointer(0);
  const testing::Pixels off = Composed();
  EXPECT_TRUE(off == GameOnly());
  EXPECT_EQ(t.game().state.FlowMode, kModeTitle);

  TurnPreviewsOn();
  EXPECT_NE(testing::FileBytes(SettingsPath(t.game())).find("save_previews=1"), std::string::npos);
  FrameByPointer(0);
  t.text.drawn.clear();
  const testing::Pixels on = Composed();
  EXPECT_FALSE(on == off);
  // Below the words, the saved picture under the dimming mask.
  Surface saved;
  t.pictures.PicLoad(saved, picture, t.game().PictureFolder());
  const Surface& mask = s().SysPic[kDimmingMask];
  int unlike = 0;
  for (int y = SavePreviewTextTop(2); y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x)
      unlike += on[y * kScreenWidth + x] != (saved.ImagePixel(x, y) & mask.ImagePixel(x, y));
  EXPECT_EQ(unlike, 0);
  // The list's words and the pointer's frame stay as they were.
  const std::vector<Colour>& clean = t.form().CMenu.Image();
  const InkLayers& text = t.form().MsgInk;
  int words = 0, frame = 0, moved = 0;
  for (std::size_t i = 0; i < kScreenPixels; ++i) {
    const int x = static_cast<int>(i % kScreenWidth), y = static_cast<int>(i / kScreenWidth);
    const bool word = text.MaskPixel(x, y) == kBlack, framed = off[i] != clean[i];
    words += word;
    frame += framed;
    moved += (word || framed) && on[i] != off[i];
  }
  EXPECT_GT(words, 0);
  EXPECT_GT(frame, 0);
  EXPECT_EQ(moved, 0);
  EXPECT_TRUE(t.text.Drew(DayName(4)));
  bool line = false;
  for (const std::string& d : t.text.drawn) line = line || DecodeUtf8(d).rfind(firstRow.substr(0, 6), 0) == 0;
  EXPECT_TRUE(line) << "the first words of the saved line";

  // Drawn again without reading the slot again: its file may go meanwhile.
  std::filesystem::remove(SlotPath(t.game(), 0));
  EXPECT_TRUE(Composed() == on);

  // The keys frame a slot the same way; an empty slot, or the cancel row,
  // shows the game's own screen.
  t.KeyDown(kVkUp);  // round to キャンセル
  EXPECT_TRUE(Composed() == GameOnly());
  FrameByPointer(1);  // データ２, never saved
  EXPECT_TRUE(Composed() == GameOnly());
  EXPECT_TRUE(t.dialogs.messages.empty()) << "framing a slot says nothing";
}

TEST_F(SavePreviewTest, TheSaveListShowsItUntilTheQuestion) {
  t.Click(400, 300);
  t.StartScene(3, 0, 2);
  SaveToSlotOne();
  TurnPreviewsOn();
  OpenSystemMenu();
  t.Pick(0);  // セーブ
  EXPECT_TRUE(Composed() == GameOnly()) << "nothing framed yet";
  FrameByPointer(0);
  EXPECT_FALSE(Composed() == GameOnly());
  EXPECT_TRUE(t.text.Drew(DayName(2)));
  t.Pick(0);
  ASSERT_EQ(s().MenuItems[0], "はい");
  FrameByPointer(0);
  EXPECT_TRUE(Composed() == GameOnly()) << "the question is not the list";
}

// A step the story holds loads again, in every lane (its first, a middle
// and its last step).
TEST_F(LoadScreenTest, StepsOfEveryLaneAreAccepted) {
  for (const SceneScript& scene : DefaultStory()->Scenes()) {
    for (const Lane& lane : scene.lanes) {
      SaveRecord r;
      r.ResumeMode = 1;
      r.SavedScene = static_cast<std::int16_t>(scene.number);
      r.DayNo = 2;
      for (int c = 0; c < 8; ++c)
        if (lane.key.conditions.Holds(c)) {
          r.Condition = static_cast<std::int16_t>(c);
          break;
        }
      r.LastChoice = static_cast<std::int16_t>(lane.key.pick == kAnyPick ? 0 : lane.key.pick);
      for (int k : {lane.first, (lane.first + lane.Last()) / 2, lane.Last()}) {
        r.SceneStep = static_cast<std::int16_t>(k);
        WriteSlotOne(r);
        std::string problem;
        EXPECT_TRUE(ReadSlot(t.game(), 0, problem)) << problem;
      }
    }
  }
}

}  // namespace
}  // namespace pelmot
