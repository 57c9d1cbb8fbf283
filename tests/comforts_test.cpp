// The player's comforts through the pump, as the window and the headless
// runner drive them: the history of lines, auto-forward, skipping only what
// was read, the settings and their files.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/game_host.h"
#include "comforts/comfort_geometry.h"
#include "comforts/comfort_state.h"
#include "story_fixture.h"

namespace pelmot {
namespace {

namespace fs = std::filesystem;
using testing::FileBytes;
using testing::StoryGame;
using testing::WriteBytes;

InputEvent KeyEvent(InputEvent::Kind kind, int key, bool repeat = false) {
  InputEvent e{kind};
  e.key = key;
  e.repeat = repeat ? 1 : 0;
  return e;
}

// A game with the story, in scene 0, driven through a GameHost.
class ComfortsTest : public ::testing::Test {
 protected:
  void Begin() {
    host->Begin();
    g.StartScene(0);
    RunFlow(g.game());
  }
  void Press(int key) {
    host->OnEvent(KeyEvent(InputEvent::Kind::kKeyDown, key));
    host->OnEvent(KeyEvent(InputEvent::Kind::kKeyUp, key));
  }
  void Click() {
    InputEvent e{InputEvent::Kind::kMouseDown};
    e.button = 1;
    e.x = 400;
    e.y = 300;
    host->OnEvent(e);
  }
  void Wheel(int notches) {
    InputEvent e{InputEvent::Kind::kWheel};
    e.wheel = notches;
    host->OnEvent(e);
  }
  std::string DataFile(const std::string& name) { return g.state().WinDir + "/TORMVEL/PELMOT/" + name; }
  ComfortState& comforts() { return g.comforts(); }

  StoryGame g;
  GameHost* host = &g.host();
};

// --- the history of lines ----------------------------------------------------------

TEST(BacklogTest, KeepsLinesWithTheirPageBreaksAndStartsAfreshWithANewPlay) {
  Backlog b;
  b.Add({{"one", "two"}, true, false, false}, 1);
  b.Add({{"rest"}, true, true, true}, 1);    // the rest of the same line
  b.Add({{"more"}, false, false, true}, 1);  // "@": same page, a new line
  EXPECT_EQ(b.Lines(), 2);
  const auto rows = b.Rows();
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[1].text, "two");
  EXPECT_TRUE(rows[2].pageBreak);
  EXPECT_EQ(rows[3].text, "rest");
  EXPECT_EQ(rows[4].text, "more");
  b.Add({{""}, true, false, true}, 1);  // an empty page is no line
  EXPECT_EQ(b.Lines(), 2);
  b.Add({{"loaded"}, true, false, true}, 2);
  EXPECT_EQ(b.Lines(), 1);
}

TEST(BacklogTest, HoldsItsMostRecentLinesOnly) {
  Backlog b;
  for (int i = 0; i < 1000; ++i) b.Add({{std::to_string(i)}, true, false, true}, 1);
  EXPECT_EQ(b.Lines(), static_cast<int>(Backlog::kMaxLines));
  EXPECT_GE(Backlog::kMaxLines, 200u);
  EXPECT_EQ(b.Rows().back().text, "999");
}

TEST_F(ComfortsTest, TheHistoryChangesNothingAndHoldsTheTimers) {
  Begin();
  for (int i = 0; i < 3; ++i) Click();
  const GameState before = g.state();
  const auto pixels = g.form().MainPic.Image();
  g.form().SkipTimer.enabled = true;  // skipping when it opens
  const int lines = comforts().backlog.Lines();
  EXPECT_GE(lines, 4);
  Wheel(1);
  ASSERT_TRUE(comforts().backlog.open);
  EXPECT_FALSE(host->MillisToNextWork(0)) << "no timer runs while it is open";
  host->OnFrame(100000);
  host->FireTimer(TimerName::Skip);
  Click();
  Press(kVkEnter);
  Press(kVkUp);
  EXPECT_EQ(g.state().StepNo, before.StepNo);
  EXPECT_EQ(g.state().PendingText, before.PendingText);
  EXPECT_EQ(g.form().MainPic.Image(), pixels);
  EXPECT_EQ(comforts().backlog.Lines(), lines);
  Wheel(-1);  // down past the newest line
  EXPECT_FALSE(comforts().backlog.open);
  EXPECT_TRUE(g.form().SkipTimer.enabled) << "skipping goes on where it was";
}

TEST_F(ComfortsTest, TheHistoryScrollsWithinItsRows) {
  Begin();
  for (int i = 0; i < 30; ++i) Click();
  Press(kVkPageUp);
  Backlog& b = comforts().backlog;
  ASSERT_TRUE(b.open);
  const int most = static_cast<int>(b.Rows().size()) - kBacklogRows;
  ASSERT_GT(most, 0);
  Wheel(100);
  EXPECT_EQ(b.scrolled, most);
  Press(kVkDown);
  EXPECT_EQ(b.scrolled, most - 1);
  for (int i = 0; i < 5; ++i) Press(kVkPageDown);
  EXPECT_EQ(b.scrolled, 0);
  EXPECT_TRUE(b.open) << "keys stop at the newest line";
  Wheel(-1);
  EXPECT_FALSE(b.open);
}

// --- auto-forward ----------------------------------------------------------------

TEST_F(ComfortsTest, AutoForwardWaitsLongerForLongerLines) {
  Begin();
  Press(kVkA);
  ASSERT_TRUE(comforts().autoForward.on);
  const Settings& s = comforts().settings;
  const int chars = comforts().autoForward.lastPageChars;
  ASSERT_GT(chars, 0);
  EXPECT_EQ(g.form().timers[TimerName::AutoForward].intervalMs, s.autoBaseMs + s.autoPerCharMs * chars);
  const int step = g.state().StepNo[kModeScene];
  host->OnFrame(0);  // schedules it
  host->OnFrame(s.autoBaseMs + s.autoPerCharMs * chars - 1);
  EXPECT_EQ(g.state().StepNo[kModeScene], step);
  host->OnFrame(s.autoBaseMs + s.autoPerCharMs * chars);
  EXPECT_EQ(g.state().StepNo[kModeScene], step + 1);
}

// Where the skip button's skipping stops in scene 0, from its start.
int WhereSkippingStops() {
  StoryGame skipping;
  GameHost& skipHost = skipping.host();
  skipping.StartScene(0);
  RunFlow(skipping.game());
  SkipB_MouseDown(skipping.game(), 1, 0, 0, 0);
  while (skipping.form().SkipTimer.enabled) skipHost.FireTimer(TimerName::Skip);
  return skipping.state().StepNo[kModeScene];
}

TEST_F(ComfortsTest, AutoForwardStopsWhereSkippingStopsAndOnAClick) {
  Begin();
  Press(kVkA);
  for (std::int64_t now = 0; now < 10'000'000 && comforts().autoForward.on; now += 100) host->OnFrame(now);
  EXPECT_FALSE(comforts().autoForward.on);
  EXPECT_EQ(g.state().StepNo[kModeScene], WhereSkippingStops());
  EXPECT_GT(g.state().StepNo[kModeScene], 10);
  EXPECT_FALSE(g.form().timers[TimerName::AutoForward].enabled);

  Press(kVkA);
  ASSERT_TRUE(comforts().autoForward.on);
  Click();
  EXPECT_FALSE(comforts().autoForward.on);
  EXPECT_FALSE(g.form().timers[TimerName::AutoForward].enabled);
}

// --- skipping what was read --------------------------------------------------------

TEST_F(ComfortsTest, SkipReadOnlyStopsAtTheFirstUnreadLineUntilShiftIsPressedAgain) {
  Begin();
  while (g.state().StepNo[kModeScene] < 5 || !g.state().PendingText.empty()) Click();  // steps 0 ... 5 read
  g.StartScene(0);                                                                     // the scene again from its start
  RunFlow(g.game());
  comforts().settings.skipMode = SkipMode::ReadOnly;
  host->OnEvent(KeyEvent(InputEvent::Kind::kKeyDown, kVkShift));
  while (g.form().SkipTimer.enabled) host->FireTimer(TimerName::Skip);
  EXPECT_EQ(g.state().StepNo[kModeScene], 6) << "the first unread line shows and waits";
  host->OnEvent(KeyEvent(InputEvent::Kind::kKeyDown, kVkShift, true));  // the held key's repeat
  EXPECT_FALSE(g.form().SkipTimer.enabled);
  host->OnEvent(KeyEvent(InputEvent::Kind::kKeyUp, kVkShift));
  host->OnEvent(KeyEvent(InputEvent::Kind::kKeyDown, kVkShift));
  EXPECT_TRUE(g.form().SkipTimer.enabled) << "pressed again, it skips on";
  host->FireTimer(TimerName::Skip);
  EXPECT_EQ(g.state().StepNo[kModeScene], 7);
  EXPECT_FALSE(g.form().SkipTimer.enabled) << "step 7 was never read either";
}

TEST_F(ComfortsTest, CtrlHeldSkipsAsShiftDoes) {
  Begin();
  host->OnEvent(KeyEvent(InputEvent::Kind::kKeyDown, kVkControl));
  EXPECT_TRUE(g.form().SkipTimer.enabled);
  // The window repeats a held Ctrl, which starts skipping again after a
  // scene change stopped it.
  for (int i = 0; i < 1000 && g.state().ClickAdvances; ++i) {
    host->FireTimer(TimerName::Skip);
    if (!g.form().SkipTimer.enabled) host->OnEvent(KeyEvent(InputEvent::Kind::kKeyDown, kVkControl, true));
  }
  EXPECT_FALSE(g.state().ClickAdvances) << "skipped to the choice";
  host->OnEvent(KeyEvent(InputEvent::Kind::kKeyUp, kVkControl));
  EXPECT_FALSE(g.form().SkipTimer.enabled);
}

// Skipping goes on only through the held key's repeats, which the window
// sends while the key is down: nothing in the game keeps a key held.
TEST_F(ComfortsTest, AHeldCtrlSkipsOnThroughItsRepeatsOnly) {
  Begin();
  host->OnEvent(KeyEvent(InputEvent::Kind::kKeyDown, kVkControl));
  ASSERT_TRUE(g.form().SkipTimer.enabled);
  Click();  // stops skipping
  EXPECT_FALSE(g.form().SkipTimer.enabled);
  host->OnEvent(KeyEvent(InputEvent::Kind::kKeyDown, kVkControl, true));
  EXPECT_TRUE(g.form().SkipTimer.enabled) << "the next repeat starts it again";
  Click();
  host->OnFrame(100000);
  EXPECT_FALSE(g.form().SkipTimer.enabled) << "without repeats, it stays stopped";
}

TEST_F(ComfortsTest, TheReadRecordIsKeptInItsOwnFile) {
  Begin();
  Click();
  Click();
  const auto record = ReadRecord::Decode(FileBytes(DataFile("READLINES.TXT")));
  ASSERT_TRUE(record);
  EXPECT_TRUE(record->Has({0, 0, 1}));
  EXPECT_TRUE(record->Has({0, 0, 2}));
  EXPECT_FALSE(record->Has({0, 0, 3}));
}

TEST_F(ComfortsTest, TheReadRecordWaitsForSkippingToPause) {
  Begin();
  SkipB_MouseDown(g.game(), 1, 0, 0, 0);
  host->FireTimer(TimerName::Skip);
  host->FireTimer(TimerName::Skip);
  ASSERT_TRUE(g.form().SkipTimer.enabled);
  EXPECT_FALSE(fs::exists(DataFile("READLINES.TXT"))) << "not a write at every line skipped";
  while (g.form().SkipTimer.enabled) host->FireTimer(TimerName::Skip);
  const auto record = ReadRecord::Decode(FileBytes(DataFile("READLINES.TXT")));
  ASSERT_TRUE(record);
  EXPECT_TRUE(record->Has({0, 0, 2}));
}

TEST_F(ComfortsTest, ADamagedReadRecordIsSaidOnceAndLeftAsItIs) {
  WriteBytes(DataFile("READLINES.TXT"), "not a record\n");
  Begin();
  for (int i = 0; i < 3; ++i) Click();
  EXPECT_EQ(g.dialogs.messages.size(), 1u);
  EXPECT_EQ(FileBytes(DataFile("READLINES.TXT")), "not a record\n");
  EXPECT_FALSE(ReadRecord::Decode("PELMOT read lines 1\n1 2\n"));
  EXPECT_FALSE(ReadRecord::Decode("PELMOT read lines 1\n1 2 -3\n"));
  EXPECT_FALSE(ReadRecord::Decode("PELMOT read lines 1\n1 2 3 4\n"));
}

// --- settings ----------------------------------------------------------------------

TEST(SettingsTest, RoundTripsAndRefusesWhatItDoesNotKnow) {
  Settings s;
  s.autoBaseMs = 700;
  s.autoPerCharMs = 0;
  s.skipMode = SkipMode::ReadOnly;
  s.windowSize = WindowSize::Fit;
  s.fullScreen = true;
  s.savePreviews = true;
  EXPECT_EQ(ParseSettings(FormatSettings(s)), s);
  EXPECT_EQ(ParseSettings(""), Settings{});
  EXPECT_FALSE(ParseSettings("skip=read\n")->savePreviews) << "a file from before the previews: off";
  EXPECT_FALSE(ParseSettings("save_previews=yes\n"));
  EXPECT_FALSE(ParseSettings("skip=some\n"));
  EXPECT_FALSE(ParseSettings("auto_forward_base_ms=-1\n"));
  EXPECT_FALSE(ParseSettings("auto_forward_base_ms=99999999999\n"));
  EXPECT_FALSE(ParseSettings("auto_forward_base_ms=12ms\n"));
  EXPECT_FALSE(ParseSettings("volume=3\n"));
  EXPECT_FALSE(ParseSettings("just words\n"));
}

TEST_F(ComfortsTest, ADamagedSettingsFileGivesTheDefaultsWithOneWarning) {
  WriteBytes(DataFile("SETTINGS.TXT"), "skip=sometimes\n");
  Begin();
  Click();
  Press(kVkF2);
  Press(kVkEscape);
  EXPECT_EQ(comforts().settings, Settings{});
  EXPECT_EQ(g.dialogs.messages.size(), 1u);
  EXPECT_EQ(FileBytes(DataFile("SETTINGS.TXT")), "skip=sometimes\n") << "nothing was set, nothing written";
}

TEST_F(ComfortsTest, TheSettingsScreenSetsAndKeepsWhatChanged) {
  Begin();
  Press(kVkF2);
  ASSERT_TRUE(comforts().settingsScreen.open);
  EXPECT_FALSE(host->MillisToNextWork(0));
  const auto step = g.state().StepNo;
  Press(kVkDown);   // the base wait
  Press(kVkRight);  // 1500 -> 2000
  Press(kVkDown);   // per character
  Press(kVkLeft);   // 80 -> 60
  Press(kVkDown);   // skip
  Press(kVkEnter);  // read lines only
  Press(kVkDown);   // window size
  Press(kVkSpace);  // 2x
  EXPECT_EQ(g.display.windowMultiple, 2);
  EXPECT_FALSE(fs::exists(DataFile("SETTINGS.TXT"))) << "kept when the screen closes";
  Press(kVkEscape);
  EXPECT_FALSE(comforts().settingsScreen.open);
  EXPECT_EQ(g.state().StepNo, step) << "no key reached the game";
  const auto kept = ParseSettings(FileBytes(DataFile("SETTINGS.TXT")));
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->autoBaseMs, 2000);
  EXPECT_EQ(kept->autoPerCharMs, 60);
  EXPECT_EQ(kept->skipMode, SkipMode::ReadOnly);
  EXPECT_EQ(kept->windowSize, WindowSize::Two);

  // The next start puts the window as they say.
  StoryGame next;
  fs::create_directories(next.state().WinDir + "/TORMVEL/PELMOT");
  WriteBytes(next.state().WinDir + "/TORMVEL/PELMOT/SETTINGS.TXT", FormatSettings(*kept));
  next.host().Begin();
  EXPECT_EQ(next.display.windowMultiple, 2);
  EXPECT_EQ(next.comforts().settings, *kept);
}

TEST_F(ComfortsTest, TheArrowsOnTheLastRowLeaveTheSettingsScreenOpen) {
  Begin();
  Press(kVkF2);
  Press(kVkUp);  // round to the last row
  ASSERT_EQ(comforts().settingsScreen.selected, static_cast<int>(SettingsRow::Close));
  Press(kVkLeft);
  Press(kVkRight);
  EXPECT_TRUE(comforts().settingsScreen.open);
  Press(kVkEnter);
  EXPECT_FALSE(comforts().settingsScreen.open);
}

TEST_F(ComfortsTest, ClicksOnTheSettingsRowsChangeThemAndAHeldF2DoesNotFlicker) {
  Begin();
  host->OnEvent(KeyEvent(InputEvent::Kind::kKeyDown, kVkF2));
  host->OnEvent(KeyEvent(InputEvent::Kind::kKeyDown, kVkF2, true));  // a repeat
  EXPECT_TRUE(comforts().settingsScreen.open);
  host->OnEvent(KeyEvent(InputEvent::Kind::kKeyUp, kVkF2));
  InputEvent press{InputEvent::Kind::kMouseDown};
  press.button = 1;
  press.x = 400;
  press.y = SettingsRowTextTop(static_cast<int>(SettingsRow::AutoForward)) + 8;
  host->OnEvent(press);
  EXPECT_TRUE(comforts().autoForward.on);
  press.y = SettingsRowTextTop(static_cast<int>(SettingsRow::FullScreen)) + 8;
  host->OnEvent(press);
  EXPECT_EQ(g.display.current.width, kScreenWidth) << "full screen";
  press.y = SettingsRowTextTop(static_cast<int>(SettingsRow::Close)) + 8;
  host->OnEvent(press);
  EXPECT_FALSE(comforts().settingsScreen.open);
}

}  // namespace
}  // namespace pelmot
