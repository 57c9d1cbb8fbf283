// Saving, loading and leaving through the menus, as a player does it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "game_fixture.h"
#include "menus/system_menu.h"
#include "persist/data_files.h"
#include "persist/stamps.h"
#include "platform/common/files.h"
#include "scenes/playable_slot.h"

namespace pelmot {
namespace {

using testing::TestGame;

class MenuFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::InstallPlainScene(t, 5, {"一", "二", "", "", ""});
    t.clock.Set({2026, 12, 6, 9, 21, 5});
    t.Start();
    t.Click(400, 300);       // the logo closes: title picture
    t.Click(400, 300);       // title menu
    ASSERT_TRUE(t.Pick(0));  // ゲームスタート
  }
  GameState& s() { return t.state(); }
  void Advance(int clicks) {
    for (int i = 0; i < clicks; ++i) t.Click(400, 300);
  }
  void OpenSystemMenu() {
    t.RightClick(400, 300);
    t.RightClick(400, 300);
    ASSERT_EQ(s().MenuItems[0], "セーブ");
  }
  std::string SlotBytes(int index) { return ReadWholeFile(SlotPath(t.game(), index)).value_or(""); }

  TestGame t;
};

TEST_F(MenuFlowTest, SaveToSlotThreeThenLoadItFromTheTitle) {
  Advance(2);
  OpenSystemMenu();
  ASSERT_TRUE(t.Pick(0));  // セーブ
  EXPECT_EQ(s().MenuItems[2], "データ３");
  ASSERT_TRUE(t.Pick(2));
  EXPECT_EQ(s().MenuItems[0], "はい");
  ASSERT_TRUE(t.Pick(0));
  // Back in the game, as it was.
  EXPECT_EQ(s().FlowMode, kModeScene);
  EXPECT_TRUE(s().ClickAdvances);
  const std::string slot = SlotBytes(2);
  ASSERT_EQ(slot.size(), 30u);
  auto record = DecodeSlot(slot);
  EXPECT_EQ(record->ResumeMode, 1);
  EXPECT_EQ(record->SavedScene, 0);
  EXPECT_EQ(record->SceneStep, 2);
  EXPECT_EQ(record->SavedPic, 12);
  EXPECT_EQ(record->DayNo, 1);
  EXPECT_EQ(DecodeSaveDate(*ReadWholeFile(SaveDatePath(t.game())), t.codePage)[2], "　2026/12/06 9:21:05");

  Advance(2);
  OpenSystemMenu();
  ASSERT_TRUE(t.Pick(2));  // タイトルに戻る
  EXPECT_EQ(s().MenuItems[0], "はい");
  ASSERT_TRUE(t.Pick(0));
  EXPECT_EQ(s().FlowMode, kModeTitle);
  EXPECT_EQ(s().StepNo[0], 2);
  t.Click(400, 300);
  ASSERT_TRUE(t.Pick(1));  // ゲームロード
  EXPECT_EQ(s().MenuItems[2], "データ３ 26/12/06 09:21");
  ASSERT_TRUE(t.Pick(2));
  EXPECT_EQ(s().MenuItems[0], "はい");
  ASSERT_TRUE(t.Pick(0));
  EXPECT_EQ(s().FlowMode, kModeScene);
  EXPECT_EQ(s().SceneNo, 0);
  EXPECT_EQ(s().StepNo[1], 2);
  EXPECT_EQ(s().ShownPic, 12);
  Advance(1);
  EXPECT_EQ(s().StepNo[1], 3);
  EXPECT_EQ(s().ShownPic, 13);
}

TEST_F(MenuFlowTest, TheConfirmationNamesTheSlotInFullWidthDigits) {
  s().SaveDate[9] = "　2026/12/06 9:21:05";
  EXPECT_EQ(SlotQuestion(t.game(), 9, false), "データ１０26/12/06 09:21をロードしますか？");
  EXPECT_EQ(SlotQuestion(t.game(), 2, true), "データ３にセーブしますか？");
  EXPECT_EQ(FileSelectItems(t.game())[9], "データ10 26/12/06 09:21");
  EXPECT_EQ(FileSelectItems(t.game())[0], "データ１");
  EXPECT_EQ(FileSelectItems(t.game())[10], "キャンセル");
}

TEST_F(MenuFlowTest, NoAndCancelReturnToTheGameAndWriteNothing) {
  Advance(1);
  const std::string dates = *ReadWholeFile(SaveDatePath(t.game()));
  OpenSystemMenu();
  ASSERT_TRUE(t.Pick(0));
  ASSERT_TRUE(t.Pick(0));
  ASSERT_TRUE(t.Pick(1));  // いいえ
  EXPECT_EQ(s().FlowMode, kModeScene);
  EXPECT_TRUE(s().ClickAdvances);
  OpenSystemMenu();
  ASSERT_TRUE(t.Pick(1));   // ロード
  ASSERT_TRUE(t.Pick(10));  // キャンセル
  EXPECT_EQ(s().FlowMode, kModeScene);
  OpenSystemMenu();
  ASSERT_TRUE(t.Pick(5));  // キャンセル
  EXPECT_EQ(s().FlowMode, kModeScene);
  EXPECT_FALSE(std::filesystem::exists(SlotPath(t.game(), 0)));
  EXPECT_EQ(*ReadWholeFile(SaveDatePath(t.game())), dates);
  Advance(1);
  EXPECT_EQ(s().StepNo[1], 2) << "the game goes on where it was";
}

TEST_F(MenuFlowTest, AnEmptySlotCannotBeLoaded) {
  OpenSystemMenu();
  ASSERT_TRUE(t.Pick(1));
  t.Pick(0);
  EXPECT_EQ(s().StepNo[2], 1) << "the press on an empty slot is ignored";
  EXPECT_EQ(s().MenuItems[10], "キャンセル");
}

TEST_F(MenuFlowTest, APickLaneSurvivesSaveAndLoad) {
  Advance(5);  // the choice at step 5
  ASSERT_TRUE(t.Pick(1));
  EXPECT_EQ(s().SaveRecord.LastChoice, 1);
  Advance(1);
  OpenSystemMenu();
  t.Pick(0);
  t.Pick(0);
  t.Pick(0);
  s().SaveRecord.LastChoice = 0;  // as if another choice came later
  OpenSystemMenu();
  t.Pick(1);
  t.Pick(0);
  t.Pick(0);
  EXPECT_EQ(s().SaveRecord.LastChoice, 1);
  EXPECT_EQ(s().StepNo[1], 7);
}

TEST_F(MenuFlowTest, ADamagedSlotIsRefusedAndNothingChanges) {
  Advance(2);
  OpenSystemMenu();
  t.Pick(0);
  t.Pick(0);
  t.Pick(0);  // slot 1 saved at step 2
  Advance(1);
  std::ofstream(SlotPath(t.game(), 0), std::ios::binary | std::ios::trunc) << std::string(12, '\0');
  const GameState before = s();
  OpenSystemMenu();
  t.Pick(1);
  t.Pick(0);
  t.Pick(0);
  ASSERT_EQ(t.dialogs.messages.size(), 1u);
  EXPECT_NE(t.dialogs.messages[0].find("PELMOTDAT01.DAT"), std::string::npos);
  EXPECT_EQ(s().FlowMode, kModeScene);
  EXPECT_EQ(s().StepNo[1], before.StepNo[1]);
  EXPECT_EQ(s().SceneNo, before.SceneNo);
  EXPECT_EQ(s().SaveRecord.DayNo, before.SaveRecord.DayNo);
}

TEST_F(MenuFlowTest, ASlotOfAnUnknownSceneIsRefused) {
  SaveRecord r;
  r.ResumeMode = 1;
  r.SavedScene = 24;  // no scene has this number
  r.DayNo = 3;
  std::ofstream(SlotPath(t.game(), 4), std::ios::binary) << EncodeSlot(r);
  std::string problem;
  EXPECT_FALSE(ReadSlot(t.game(), 4, problem));
  r.SavedScene = 21;
  r.ResumeMode = 2;
  std::ofstream(SlotPath(t.game(), 4), std::ios::binary | std::ios::trunc) << EncodeSlot(r);
  EXPECT_FALSE(ReadSlot(t.game(), 4, problem));
  r.ResumeMode = 1;
  std::ofstream(SlotPath(t.game(), 4), std::ios::binary | std::ios::trunc) << EncodeSlot(r);
  EXPECT_TRUE(ReadSlot(t.game(), 4, problem)) << problem;
}

TEST_F(MenuFlowTest, AFailedSaveLeavesFilesAndStateAsTheyWere) {
  Advance(2);
  // A folder that is not empty at the slot's name: the rename fails, even for root.
  std::filesystem::create_directories(SlotPath(t.game(), 0) + "/blocks-the-rename");
  const SaveRecord before = s().SaveRecord;
  OpenSystemMenu();
  t.Pick(0);
  t.Pick(0);
  t.Pick(0);
  ASSERT_EQ(t.dialogs.messages.size(), 1u);
  EXPECT_EQ(s().SaveDate[0], "") << "no stamp announces the failed save";
  EXPECT_EQ(s().SaveRecord.SceneStep, before.SceneStep);
  EXPECT_EQ(DecodeSaveDate(*ReadWholeFile(SaveDatePath(t.game())), t.codePage)[0], "");
  EXPECT_EQ(s().FlowMode, kModeScene);
}

TEST_F(MenuFlowTest, QuitFromTheSystemMenuWritesTheLastPlayStamp) {
  OpenSystemMenu();
  t.clock.Set({2026, 12, 7, 22, 0, 0});
  t.Pick(3);  // ゲーム終了
  EXPECT_EQ(s().MenuItems[0], "はい");
  t.Pick(0);
  EXPECT_TRUE(t.game().quitRequested);
  EXPECT_EQ(DecodeSaveDate(*ReadWholeFile(SaveDatePath(t.game())), t.codePage)[10], "　2026/12/07 22:00:00");
}

TEST(TitleQuit, YesQuitsAndWritesTheStampNoReturnsToTheTitlePicture) {
  TestGame t;
  t.Start();
  t.Click(400, 300);
  t.Click(400, 300);
  t.Pick(3);
  EXPECT_EQ(t.state().MenuItems[0], "はい");
  t.Pick(1);
  EXPECT_EQ(t.state().StepNo[0], 2);
  EXPECT_FALSE(t.game().quitRequested);
  t.Click(400, 300);
  t.Pick(3);
  t.Pick(0);
  EXPECT_TRUE(t.game().quitRequested);
  EXPECT_NE(t.state().SaveDate[10], "");
}

}  // namespace
}  // namespace pelmot
