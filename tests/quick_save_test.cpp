// Quick save (F5) and quick load (F9): a slot of their own, the slots'
// checks, where the game's own save and load are allowed only, and the
// corner line that says what happened.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/game_host.h"
#include "comforts/corner_line.h"
#include "game/flow_steps.h"
#include "game_fixture.h"
#include "persist/data_files.h"
#include "platform/common/files.h"

namespace pelmot {
namespace {

using testing::TestGame;

class QuickSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::InstallPlainScene(t, 4, {"一", "二", "", "", ""});
    t.Start();
    t.Click(400, 300);  // the title picture
  }
  GameState& s() { return t.state(); }
  void Press(int key) {
    InputEvent e{InputEvent::Kind::kKeyDown};
    e.key = key;
    host.OnEvent(e);
  }
  void StartGame() {
    t.Click(400, 300);  // the title menu
    ASSERT_TRUE(t.Pick(0));
  }
  void Advance(int clicks) {
    for (int i = 0; i < clicks; ++i) t.Click(400, 300);
  }
  std::string Folder() { return t.game().paths.dataRoot + "/TORMVEL/PELMOT"; }
  std::optional<std::string> QuickFile() { return ReadWholeFile(QuickSlotPath(t.game())); }
  std::vector<Colour> Composed() {
    std::vector<Colour> pixels(kScreenPixels);
    host.Compose(pixels);
    return pixels;
  }
  std::string Line() { return CornerLineText(t.comforts().cornerLine).value_or(""); }

  TestGame t;
  GameHost& host = t.host();
};

TEST_F(QuickSaveTest, F5WritesTheSlotASaveWouldAndNothingElse) {
  StartGame();
  Advance(2);
  const GameState before = s();
  Press(kVkF5);
  EXPECT_EQ(Line(), "クイックセーブしました");
  auto bytes = QuickFile();
  ASSERT_TRUE(bytes);
  ASSERT_EQ(bytes->size(), 30u);
  const auto record = DecodeSlot(*bytes);
  EXPECT_EQ(record->ResumeMode, kModeScene);
  EXPECT_EQ(record->SceneStep, before.StepNo[kModeScene]);
  EXPECT_EQ(record->SavedPic, 10 + before.StepNo[kModeScene]);
  EXPECT_EQ(s().SaveRecord.SceneStep, before.SaveRecord.SceneStep) << "the game's own record is untouched";
  EXPECT_EQ(s().SaveDate, before.SaveDate);
  for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_TRUE(t.files.IsMissing(SlotPath(t.game(), slot)));
  EXPECT_EQ(ReadWholeFile(SaveDatePath(t.game())).value_or("?"), "") << "no stamp is written";
}

TEST_F(QuickSaveTest, F9ResumesWhereF5SavedAsALoadedSlotDoes) {
  StartGame();
  Advance(2);
  Press(kVkF5);
  const std::vector<Colour> saved = t.form().MainPic.Image();
  const int step = s().StepNo[kModeScene];
  Advance(1);
  ASSERT_NE(s().StepNo[kModeScene], step);
  Press(kVkF9);
  EXPECT_EQ(Line(), "クイックロードしました");
  EXPECT_EQ(s().FlowMode, kModeScene);
  EXPECT_EQ(s().StepNo[kModeScene], step);
  EXPECT_EQ(s().ShownPic, 10 + step);
  EXPECT_EQ(t.form().MainPic.Image(), saved) << "the saved step runs again: the same picture and line";
}

TEST_F(QuickSaveTest, OnlyWhereTheGamesOwnSaveAndLoadAre) {
  Press(kVkF5);  // the title picture
  EXPECT_EQ(Line(), "ここではクイックセーブできません");
  EXPECT_FALSE(QuickFile());
  Press(kVkF9);
  EXPECT_EQ(Line(), "クイックセーブのデータがありません") << "loading is allowed at the title";
  StartGame();
  Advance(4);  // the choice waits
  ASSERT_FALSE(s().ClickAdvances);
  Press(kVkF5);
  EXPECT_EQ(Line(), "ここではクイックセーブできません");
  Press(kVkF9);
  EXPECT_EQ(Line(), "ここではクイックロードできません");
  EXPECT_FALSE(QuickFile());
  ASSERT_TRUE(t.Pick(1));
  t.RightClick(400, 300);  // the picture-only view saves as the menu would
  Press(kVkF5);
  EXPECT_EQ(Line(), "クイックセーブしました");
  EXPECT_EQ(s().FlowMode, kModeSystemMenu) << "the view stays";
}

TEST_F(QuickSaveTest, AQuickLoadFromTheTitleMenuStartsTheSavedGame) {
  StartGame();
  Advance(3);
  Press(kVkF5);
  const int step = s().StepNo[kModeScene];
  t.RightClick(400, 300);
  t.RightClick(400, 300);
  ASSERT_TRUE(t.Pick(2));  // タイトルに戻る
  ASSERT_TRUE(t.Pick(0));
  t.Click(400, 300);  // the title menu
  ASSERT_EQ(s().StepNo[kModeTitle], kTitleMenu);
  Press(kVkF9);
  EXPECT_EQ(s().FlowMode, kModeScene);
  EXPECT_EQ(s().StepNo[kModeScene], step);
  EXPECT_TRUE(s().ClickAdvances);
  EXPECT_FALSE(t.form().MainPic.enabled) << "the menu's picture takes no more picks";
  t.Click(400, 300);
  EXPECT_EQ(s().StepNo[kModeScene], step + 1) << "a click advances the loaded game";
}

TEST_F(QuickSaveTest, AFailedQuickLoadLeavesTheTitleMenuPickable) {
  t.Click(400, 300);  // the title menu
  std::string error;
  ASSERT_TRUE(t.files.ReplaceWhole(QuickSlotPath(t.game()), "short", error));
  Press(kVkF9);
  EXPECT_EQ(Line(), "クイックロードできませんでした");
  EXPECT_TRUE(t.form().MainPic.enabled);
  ASSERT_TRUE(t.Pick(0));
  EXPECT_EQ(s().FlowMode, kModeScene);
}

TEST_F(QuickSaveTest, ADamagedQuickSaveIsRefusedAndKept) {
  StartGame();
  Advance(2);
  std::string error;
  ASSERT_TRUE(t.files.ReplaceWhole(QuickSlotPath(t.game()), "short", error));
  const GameState before = s();
  Press(kVkF9);
  EXPECT_EQ(Line(), "クイックロードできませんでした");
  ASSERT_FALSE(t.dialogs.messages.empty());
  EXPECT_NE(t.dialogs.messages.back().find("ファイルが短すぎます"), std::string::npos);
  EXPECT_EQ(s().StepNo, before.StepNo);
  EXPECT_EQ(s().ShownPic, before.ShownPic);
  EXPECT_EQ(QuickFile().value_or(""), "short") << "the file is left for the player to look at";
}

TEST_F(QuickSaveTest, AFailedWriteIsToldAndChangesNothing) {
  StartGame();
  Advance(2);
  std::filesystem::create_directory(QuickSlotPath(t.game()));
  Press(kVkF5);
  EXPECT_EQ(Line(), "クイックセーブできませんでした");
  ASSERT_FALSE(t.dialogs.messages.empty());
  EXPECT_EQ(t.dialogs.messages.back().rfind("データを書き込めませんでした。", 0), 0u);
  EXPECT_TRUE(std::filesystem::is_directory(QuickSlotPath(t.game())));
}

TEST_F(QuickSaveTest, TheCornerLineShowsTwoSecondsOverThePictureAndGoes) {
  StartGame();
  Advance(2);
  const std::vector<Colour> plain = Composed();
  const std::vector<Colour> picture = t.form().MainPic.Image();
  host.OnFrame(1000);
  Press(kVkF5);
  const testing::Difference line = testing::Compare(Composed(), plain);
  EXPECT_GT(line.pixels, 0);
  EXPECT_TRUE(testing::Within(line.bounds, {0, 0, kScreenWidth / 2, kScreenHeight / 8}))
      << "the line keeps to the top left corner";
  EXPECT_EQ(t.form().MainPic.Image(), picture) << "drawn over the game's picture, not into it";
  host.OnFrame(1001);  // the timer counts from the first frame after the key
  host.OnFrame(1001 + kCornerLineShowsMs - 1);
  EXPECT_EQ(Line(), "クイックセーブしました");
  EXPECT_TRUE(host.OnFrame(1001 + kCornerLineShowsMs)) << "the window redraws as the line goes";
  EXPECT_EQ(Line(), "");
  EXPECT_EQ(Composed(), plain);
  EXPECT_FALSE(host.MillisToNextWork(5000)) << "nothing left to wait for";
}

TEST_F(QuickSaveTest, ANewerLineShowsItsOwnTwoSeconds) {
  StartGame();
  host.OnFrame(0);
  Press(kVkF5);
  host.OnFrame(10);
  host.OnFrame(1500);
  Press(kVkF9);
  host.OnFrame(1510);
  host.OnFrame(2500);
  EXPECT_EQ(Line(), "クイックロードしました") << "the first line's time does not cut the second short";
  host.OnFrame(1510 + kCornerLineShowsMs);
  EXPECT_EQ(Line(), "");
}

}  // namespace
}  // namespace pelmot
