// The pump: message boxes as a state of the game answered by events, and
// the named timers fired from a monotonic clock.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/game_host.h"
#include "flow/pick.h"
#include "game_fixture.h"
#include "persist/data_files.h"
#include "present/pictures.h"
#include "present/text_window.h"

namespace pelmot {
namespace {

namespace fs = std::filesystem;
using testing::Boxes;
using testing::TestGame;

InputEvent Key(int key, int shift = 0) {
  InputEvent e{InputEvent::Kind::kKeyDown};
  e.key = key;
  e.shift = shift;
  return e;
}

InputEvent Mouse(InputEvent::Kind kind, int x, int y, int button = 1) {
  InputEvent e{kind};
  e.button = button;
  e.x = x;
  e.y = y;
  return e;
}

const InputEvent kClose{InputEvent::Kind::kCloseRequested};
constexpr const char* kQuitQuestion = "ゲームを終了しますか？";

// A started game whose boxes are its own, driven through a GameHost.
struct BoxGame {
  BoxGame() : t(Boxes::kInGame) {
    t.clock.Set({2026, 12, 6, 9, 21, 5});
    t.Start();
  }
  TestGame t;
  GameHost& host = t.host();
};

class BoxTest : public ::testing::Test {
 protected:
  std::string SaveDate() { return t.game().paths.dataRoot + "/TORMVEL/PELMOT/SAVEDATE.DAT"; }
  BoxGame b;
  TestGame& t = b.t;
  GameHost& host = b.host;
};

// --- the quit question ------------------------------------------------------------

TEST_F(BoxTest, ClosingAsksAndTheGameWaitsForTheAnswer) {
  host.OnEvent(kClose);
  ASSERT_TRUE(t.boxes.Open());
  EXPECT_EQ(t.boxes.FrontText(), kQuitQuestion);
  EXPECT_EQ(t.boxes.Front().Focus(), 0) << "yes has the focus";
  EXPECT_FALSE(t.game().quitRequested);
  EXPECT_FALSE(host.Finished());
}

TEST_F(BoxTest, EscapeOrASecondCloseKeepsTheGameExactlyWhereItWas) {
  const auto commands = t.multimedia.commands;
  for (const InputEvent& no : {Key(kVkEscape), kClose}) {
    host.OnEvent(kClose);
    host.OnEvent(no);
    EXPECT_FALSE(t.boxes.Open());
    EXPECT_FALSE(t.game().quitRequested);
  }
  EXPECT_EQ(t.multimedia.commands, commands);
  EXPECT_EQ(t.state().SaveDate[10], "");
  EXPECT_EQ(fs::file_size(SaveDate()), 0u);
  host.OnEvent(Mouse(InputEvent::Kind::kMouseDown, 400, 300));
  EXPECT_EQ(t.state().StepNo[0], 2) << "the next click is the first advance";
}

TEST_F(BoxTest, EnterOrSpaceSaysYesQuitsAndWritesTheStamp) {
  host.OnEvent(kClose);
  host.OnEvent(Key(kVkEnter));
  EXPECT_TRUE(t.game().quitRequested);
  EXPECT_TRUE(host.Finished());
  EXPECT_EQ(t.state().MoviePath, "");
  EXPECT_EQ(t.state().SaveDate[10], "　2026/12/06 9:21:05");
  EXPECT_GT(fs::file_size(SaveDate()), 0u);

  BoxGame other;
  other.host.OnEvent(kClose);
  other.host.OnEvent(Key(kVkSpace));
  EXPECT_TRUE(other.t.game().quitRequested);
}

TEST_F(BoxTest, ArrowsAndTabMoveTheFocusThatEnterChooses) {
  host.OnEvent(kClose);
  host.OnEvent(Key(kVkRight));
  EXPECT_EQ(t.boxes.Front().Focus(), 1);
  host.OnEvent(Key(kVkTab));
  EXPECT_EQ(t.boxes.Front().Focus(), 0) << "Tab wraps round";
  host.OnEvent(Key(kVkTab, 1));
  EXPECT_EQ(t.boxes.Front().Focus(), 1) << "Shift+Tab goes back";
  host.OnEvent(Key(kVkLeft));
  host.OnEvent(Key(kVkLeft));
  EXPECT_EQ(t.boxes.Front().Focus(), 1);
  host.OnEvent(Key(kVkEnter));
  EXPECT_FALSE(t.game().quitRequested) << "Enter chose the focused no";
}

TEST_F(BoxTest, AButtonIsChosenByAPressAndAReleaseBothOnIt) {
  host.OnEvent(kClose);
  const BoxRect yes = t.boxes.Front().Button(0);
  const BoxRect no = t.boxes.Front().Button(1);
  host.OnEvent(Mouse(InputEvent::Kind::kMouseDown, yes.x + 5, yes.y + 5));
  host.OnEvent(Mouse(InputEvent::Kind::kMouseUp, no.x + 5, no.y + 5));
  EXPECT_TRUE(t.boxes.Open()) << "released off the button pressed";
  host.OnEvent(Mouse(InputEvent::Kind::kMouseDown, yes.x + 5, yes.y + 5, 2));
  host.OnEvent(Mouse(InputEvent::Kind::kMouseUp, yes.x + 5, yes.y + 5, 2));
  EXPECT_TRUE(t.boxes.Open()) << "the right button chooses nothing";
  host.OnEvent(Mouse(InputEvent::Kind::kMouseDown, yes.x + 5, yes.y + 5));
  host.OnEvent(Mouse(InputEvent::Kind::kMouseUp, yes.x + 6, yes.y + 6));
  EXPECT_FALSE(t.boxes.Open());
  EXPECT_TRUE(t.game().quitRequested);
}

TEST_F(BoxTest, AnAnswerEventAnswersTheBoxOnScreen) {
  host.OnEvent(kClose);
  InputEvent answer{InputEvent::Kind::kDialogAnswered};
  answer.answer = 1;
  host.OnEvent(answer);
  EXPECT_FALSE(t.boxes.Open());
  EXPECT_FALSE(t.game().quitRequested);
  host.OnEvent(answer);  // no box: nothing
  EXPECT_FALSE(t.game().quitRequested);
}

// --- modal boxes ------------------------------------------------------------------

TEST_F(BoxTest, WhileABoxIsOpenTheGameTakesNoInputAndNoTimerFires) {
  t.boxes.ShowMessage("データを書き込めませんでした。");
  const GameState before = t.state();
  host.OnEvent(Mouse(InputEvent::Kind::kMouseDown, 400, 300));
  host.OnEvent(Key(kVkEnter));  // Enter closes the box, not the logo
  EXPECT_FALSE(t.boxes.Open());
  EXPECT_EQ(t.state().StepNo, before.StepNo);

  t.boxes.ShowMessage("もう一つ");
  host.OnEvent(Key(kVkShift, 1));
  EXPECT_FALSE(t.form().SkipTimer.enabled) << "a held Shift does not reach the game";
  t.form().SkipTimer.enabled = true;
  EXPECT_EQ(host.MillisToNextWork(0), std::nullopt);
  EXPECT_FALSE(host.OnFrame(1000));
  EXPECT_EQ(t.state().StepNo, before.StepNo);
}

TEST_F(BoxTest, MessagesOpenedTogetherComeUpOneAfterAnother) {
  t.boxes.ShowMessage("一つ目");
  t.boxes.ShowMessage("二つ目");
  t.boxes.AskYesNo("三つ目？", [](bool) {});
  EXPECT_EQ(t.boxes.Count(), 3u);
  EXPECT_EQ(t.boxes.FrontText(), "一つ目");
  host.OnEvent(Key(kVkEnter));
  EXPECT_EQ(t.boxes.FrontText(), "二つ目");
  host.OnEvent(kClose);  // Escape closes a message as OK does
  EXPECT_EQ(t.boxes.FrontText(), "三つ目？");
  host.OnEvent(Key(kVkEscape));
  EXPECT_FALSE(t.boxes.Open());
}

TEST_F(BoxTest, TheGameEndsOnlyOnceTheLastBoxIsAnswered) {
  t.game().quitRequested = true;
  t.boxes.ShowMessage("日付を保存できませんでした。");
  EXPECT_FALSE(host.Finished()) << "a box opened on the way out still shows";
  host.OnEvent(Key(kVkEnter));
  EXPECT_TRUE(host.Finished());
}

TEST_F(BoxTest, ABoxIsDrawnOverTheDimmedPicture) {
  std::vector<Colour> plain(kScreenPixels), boxed(kScreenPixels);
  host.Compose(plain);
  host.OnEvent(kClose);
  host.Compose(boxed);
  ASSERT_EQ(boxed.size(), plain.size());
  EXPECT_EQ(boxed[0], (plain[0] >> 1) & 0x007F7F7Fu) << "the corner is dimmed";
  const BoxRect frame = t.boxes.Front().Frame();
  EXPECT_NE(boxed[frame.y * 800 + frame.x], plain[frame.y * 800 + frame.x]);
  EXPECT_TRUE(t.text.Drew(kQuitQuestion));
  EXPECT_TRUE(t.text.Drew("はい"));
  EXPECT_TRUE(t.text.Drew("いいえ"));
}

TEST(BoxesOnly, ShowsTheBoxesOverBlackAndFinishesWithTheLast) {
  DialogQueue boxes(nullptr);
  BoxesOnly pump(boxes);
  EXPECT_TRUE(pump.Finished());
  boxes.ShowMessage("フォントが見つかりません。");
  EXPECT_FALSE(pump.Finished());
  std::vector<Colour> pixels(kScreenPixels, kWhite);
  pump.Compose(pixels);
  EXPECT_EQ(pixels[0], kBlack);
  pump.OnEvent(kClose);
  EXPECT_TRUE(pump.Finished());
}

// --- named timers -----------------------------------------------------------------

TEST(Timers, ATimerIsDueOneIntervalAfterItWasSwitchedOn) {
  Timers timers;
  timers[TimerName::Skip] = {true, 10};
  timers.Schedule(100);
  EXPECT_FALSE(timers.IsDue(TimerName::Skip, 109));
  EXPECT_TRUE(timers.IsDue(TimerName::Skip, 110));
  EXPECT_EQ(timers.MillisToNextDue(104), 6);
  timers.Schedule(105);  // scheduled already: stays
  EXPECT_EQ(timers.MillisToNextDue(105), 5);
  timers.Fired(TimerName::Skip, 110);
  EXPECT_EQ(timers.MillisToNextDue(110), 10);
  timers.Fired(TimerName::Skip, 175);
  EXPECT_EQ(timers.MillisToNextDue(175), 0) << "late: due at once, without a burst";
  timers.Fired(TimerName::Skip, 175);
  EXPECT_EQ(timers.MillisToNextDue(175), 10);
}

TEST(Timers, SwitchedOffAndOnAgainCountsFromTheNewStart) {
  Timers timers;
  timers[TimerName::Skip] = {true, 10};
  timers.Schedule(0);
  timers[TimerName::Skip].enabled = false;
  EXPECT_FALSE(timers.IsDue(TimerName::Skip, 50));
  timers.Schedule(50);
  EXPECT_EQ(timers.MillisToNextDue(50), std::nullopt);
  timers[TimerName::Skip].enabled = true;
  timers.Schedule(60);
  EXPECT_EQ(timers.MillisToNextDue(60), 10);
}

TEST(Timers, SeveralTimersKeepTheirOwnTimesAndTheNextIsTheEarliest) {
  Timers timers;
  timers[TimerName::Skip] = {true, 30};
  timers[TimerName::AutoForward] = {true, 20};
  timers.Schedule(0);
  EXPECT_EQ(timers.MillisToNextDue(0), 20);
  EXPECT_TRUE(timers.IsDue(TimerName::AutoForward, 20));
  EXPECT_FALSE(timers.IsDue(TimerName::Skip, 20));
  timers.Fired(TimerName::AutoForward, 20);
  EXPECT_EQ(timers.MillisToNextDue(20), 10) << "the skip timer at 30 comes first now";
  timers[TimerName::Skip].intervalMs = 0;
  timers.Fired(TimerName::Skip, 30);
  EXPECT_EQ(timers.MillisToNextDue(30), 1) << "a zero interval still moves on";
}

TEST(Timers, TheFormsSkipTimerIsTheNamedOne) {
  TestGame t;
  t.form().SkipTimer.enabled = true;
  t.form().SkipTimer.intervalMs = 25;
  EXPECT_TRUE(t.form().timers[TimerName::Skip].enabled);
  EXPECT_EQ(t.form().timers[TimerName::Skip].intervalMs, 25);
  EXPECT_FALSE(t.form().timers[TimerName::AutoForward].enabled);
}

TEST(GameHostTimers, TheSkipTimerAdvancesAtEachDueTimeAndStopsWithShift) {
  TestGame t;
  t.state().FlowMode = kModeScene;
  t.state().SceneNo = 40;
  GameHost& host = t.host();
  host.OnEvent(Key(kVkShift, 1));
  ASSERT_TRUE(t.form().SkipTimer.enabled);
  const int step = t.state().StepNo[1];
  EXPECT_EQ(host.MillisToNextWork(1000), t.form().SkipTimer.intervalMs);
  EXPECT_FALSE(host.OnFrame(1000 + t.form().SkipTimer.intervalMs - 1));
  EXPECT_TRUE(host.OnFrame(1000 + t.form().SkipTimer.intervalMs));
  EXPECT_EQ(t.state().StepNo[1], step + 1);
  InputEvent up{InputEvent::Kind::kKeyUp};
  up.key = kVkShift;
  host.OnEvent(up);
  EXPECT_EQ(host.MillisToNextWork(5000), std::nullopt);
  EXPECT_FALSE(host.OnFrame(5000));
  EXPECT_EQ(t.state().StepNo[1], step + 1);
}

// --- presenting only what changed ---------------------------------------------

// The desktop window's pump over a host: every event and every frame that
// did work stirs the gate, and a due present composes the picture.
class WindowPump {
 public:
  explicit WindowPump(GameHost& host) : host_(host) {}
  void Event(const InputEvent& e) {
    host_.OnEvent(e);
    gate_.Stirred();
    Frame();
  }
  // The frame 33 ms after the last, as a held key repeats.
  void Frame() {
    nowMs_ += 33;
    if (host_.OnFrame(nowMs_)) gate_.Stirred();
    if (!gate_.Pending() || !gate_.Due(host_)) return;
    // As the window does: only the rows that changed are composed again
    // over the picture it keeps; they must give the whole picture.
    const ClientRows rows = host_.ComposeChanges(shown_, gate_.Presents() > 0);
    if (rows.bottom - rows.top < kScreenHeight) ++partial_;
    if (shown_ != Composed()) ++wrong_;
    gate_.Presented();
  }
  void ShiftRepeats(int count) {
    InputEvent e = Key(kVkShift, 1);
    for (int i = 0; i < count; ++i) {
      e.repeat = i > 0 ? 1 : 0;
      Event(e);
    }
  }
  long long Presents() const { return gate_.Presents(); }
  // Presents that composed only some rows, and those whose picture was not
  // the one composed whole.
  int Partial() const { return partial_; }
  int Wrong() const { return wrong_; }
  const std::vector<Colour>& Shown() const { return shown_; }
  // What a present would show now.
  std::vector<Colour> Composed() {
    std::vector<Colour> pixels(kScreenPixels);
    host_.Compose(pixels);
    return pixels;
  }

 private:
  GameHost& host_;
  PresentGate gate_;
  std::int64_t nowMs_ = 0;
  int partial_ = 0, wrong_ = 0;
  std::vector<Colour> shown_ = std::vector<Colour>(kScreenPixels);
};

// From the logo through the title to the story's first line.
void StartNewGame(TestGame& t, WindowPump& window) {
  window.Frame();
  EXPECT_EQ(window.Presents(), 1) << "the first picture";
  window.Event(Mouse(InputEvent::Kind::kMouseDown, 400, 300));  // the title picture
  window.Event(Mouse(InputEvent::Kind::kMouseDown, 400, 300));  // the title menu
  const auto newGame = PickPoint(t.game(), 0);
  ASSERT_TRUE(newGame);
  window.Event(Mouse(InputEvent::Kind::kMouseMove, newGame->x, newGame->y));
  window.Event(Mouse(InputEvent::Kind::kMouseDown, newGame->x, newGame->y));
}

TEST(PresentOnlyChanges, LinesAddedToAPageAreComposedByTheirRowsIntoTheWholePicture) {
  TestGame t;
  t.scenes().procedures[0] = [](Game& g) {
    const int step = g.state.StepNo[kModeScene];
    if (step == 1) ShowEventPic(g, 11, PictureShow::WithNextText);
    ShowText2(g, "台詞" + std::to_string(step));
  };
  t.Start();
  WindowPump window(t.host());
  StartNewGame(t, window);
  ASSERT_EQ(t.state().FlowMode, kModeScene);
  window.ShiftRepeats(12);
  EXPECT_GE(window.Partial(), 3) << "of " << window.Presents() << " presents";
  EXPECT_EQ(window.Wrong(), 0);
  EXPECT_EQ(window.Shown(), window.Composed());
}

TEST(PresentOnlyChanges, ShiftHeldAtAChoicePresentsNothingWhileEveryChangeIsPresented) {
  TestGame t;
  testing::InstallPlainScene(t, 4, {"一", "二", "", "", ""});
  t.Start();
  WindowPump window(t.host());
  StartNewGame(t, window);
  ASSERT_EQ(t.state().FlowMode, kModeScene);
  ASSERT_TRUE(t.state().ClickAdvances) << "the story's first line";
  EXPECT_EQ(window.Shown(), window.Composed());

  // Shift held: each line skipped is presented, up to the choice.
  long long before = window.Presents();
  window.ShiftRepeats(20);
  ASSERT_FALSE(t.state().ClickAdvances) << "skipping stopped at the choice";
  EXPECT_GE(window.Presents() - before, 3) << "the lines on the way and the choice";
  EXPECT_EQ(window.Shown(), window.Composed());

  // Held on at the choice, nothing changes and nothing is presented.
  before = window.Presents();
  window.ShiftRepeats(60);
  for (int i = 0; i < 30; ++i) window.Frame();
  EXPECT_EQ(window.Presents(), before);
  EXPECT_EQ(window.Shown(), window.Composed());

  // Whatever changes is presented once: the pointer over an option, a
  // quick save's line over the picture, the pick.
  const auto option = PickPoint(t.game(), 1);
  ASSERT_TRUE(option);
  const std::vector<Colour> atChoice = window.Shown();
  window.Event(Mouse(InputEvent::Kind::kMouseMove, option->x, option->y));
  EXPECT_EQ(window.Presents(), before + 1);
  EXPECT_NE(window.Shown(), atChoice) << "the option framed";
  before = window.Presents();
  window.Event(Key(kVkF5));
  EXPECT_EQ(window.Presents(), before + 1);
  EXPECT_EQ(window.Shown(), window.Composed());
  window.Event(Mouse(InputEvent::Kind::kMouseDown, option->x, option->y));
  EXPECT_EQ(window.Presents(), before + 2);
  EXPECT_EQ(window.Shown(), window.Composed());
  EXPECT_EQ(window.Wrong(), 0) << "of " << window.Presents() << " presents";
}

}  // namespace
}  // namespace pelmot
