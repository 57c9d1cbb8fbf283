// The player's comforts through the pump, as the window and the headless
// runner drive them: the history of lines, auto-forward, skipping only what
// was read, the settings and their files.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "app/game_host.h"
#include "comforts/comfort_geometry.h"
#include "comforts/comfort_state.h"
#include "platform/ui_text.h"
#include "platform/utf8.h"
#include "present/text_layout.h"
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
  void Click(int button = 1) {
    InputEvent e{InputEvent::Kind::kMouseDown};
    e.button = button;
    e.x = 400;
    e.y = 300;
    host->OnEvent(e);
  }
  void RightClick() { Click(2); }
  void Wheel(int notches) {
    InputEvent e{InputEvent::Kind::kWheel};
    e.wheel = notches;
    host->OnEvent(e);
  }
  // The clock moves on by `ms`, every timer firing when due, as the pump
  // and the headless script's `wait` fire them.
  void Wait(std::int64_t ms) {
    const std::int64_t until = now + ms;
    while (auto next = host->MillisToNextWork(now)) {
      if (now + *next > until) break;
      now += *next;
      host->OnFrame(now);
    }
    now = until;
  }
  testing::Pixels Shot() { return ShotOf(*host); }
  static testing::Pixels ShotOf(GameHost& h) {
    testing::Pixels pixels(static_cast<std::size_t>(h.game().form.clientWidth) * h.game().form.clientHeight);
    h.Compose(pixels);
    return pixels;
  }
  std::string DataFile(const std::string& name) { return g.state().WinDir + "/TORMVEL/PELMOT/" + name; }
  ComfortState& comforts() { return g.comforts(); }

  StoryGame g;
  GameHost* host = &g.host();
  std::int64_t now = 0;
};

// --- the history of lines ----------------------------------------------------------

int WhereSkippingStops();

// What the player saw after a click, to compare with what going back shows.
struct Seen {
  std::vector<Colour> pixels;
  std::array<std::int16_t, 8> steps;
  SaveRecord record;
  std::string pending;
  bool operator==(const Seen&) const = default;
};

Seen SeenIn(StoryGame& g) { return {g.form().MainPic.Image(), g.state().StepNo, g.record(), g.state().PendingText}; }

TEST_F(ComfortsTest, GoingBackShowsEachClickAsItWasAndGoingOnKeepsWhatFollowed) {
  Begin();
  const History& h = comforts().history;
  std::map<int, Seen> seen;
  seen[h.Current()] = SeenIn(g);
  for (int i = 0; i < 40; ++i) {
    Click();
    seen[h.Current()] = SeenIn(g);
  }
  const int newest = h.Current();
  const int entries = static_cast<int>(h.Entries().size());
  ASSERT_EQ(entries, newest + 1);
  ASSERT_GE(newest, 30) << "each click showed an entry of its own";
  // The history opens framed on the newest entry; Up moves the frame.
  Wheel(1);
  ASSERT_TRUE(comforts().backlog.open);
  EXPECT_EQ(comforts().backlog.framed, newest);
  for (int i = 0; i < 25; ++i) Press(kVkUp);
  Press(kVkEnter);
  EXPECT_FALSE(comforts().backlog.open);
  EXPECT_EQ(h.Current(), newest - 25);
  EXPECT_EQ(SeenIn(g), seen[newest - 25]) << "the page, its picture and the values as they were";
  // Going on replays the lines that followed, and keeps them.
  for (int i = newest - 24; i <= newest; ++i) {
    Click();
    ASSERT_EQ(h.Current(), i);
    EXPECT_EQ(SeenIn(g), seen[i]) << "entry " << i;
  }
  EXPECT_EQ(static_cast<int>(h.Entries().size()), entries);
  EXPECT_EQ(g.state().StepNo[kModeScene], seen[newest].steps[kModeScene]);
  // A click on an entry's row goes back there too.
  Wheel(1);
  host->OnEvent([] {
    InputEvent e{InputEvent::Kind::kMouseDown};
    e.button = 1;
    e.x = 400;
    e.y = kBacklogTextTop + kRowPitch * (kBacklogRows - 1);
    return e;
  }());
  EXPECT_EQ(h.Current(), newest);
  EXPECT_EQ(SeenIn(g), seen[newest]);
}

TEST_F(ComfortsTest, HomeGoesBackToTheChoiceAndEndSkipsOnToTheNext) {
  Begin();
  const int choiceStep = WhereSkippingStops();
  Press(kVkEnd);
  EXPECT_TRUE(g.form().SkipTimer.enabled);
  g.TickWhileSkipping();
  ASSERT_TRUE(ChoiceWaits(g.game()));
  EXPECT_EQ(g.state().StepNo[kModeScene], choiceStep + 1) << "on past the question the skip button stops at";
  const Seen atChoice = SeenIn(g);
  Press(kVkHome);
  EXPECT_EQ(SeenIn(g), atChoice) << "no choice before the first";
  g.Pick(1);
  for (int i = 0; i < 3; ++i) Click();
  const History& h = comforts().history;
  const std::size_t entries = h.Entries().size();
  Press(kVkHome);
  ASSERT_TRUE(ChoiceWaits(g.game()));
  EXPECT_EQ(SeenIn(g), atChoice) << "options on screen, values as before the pick";
  // The same pick keeps what followed it; another cuts it off.
  g.Pick(1);
  EXPECT_EQ(h.Entries().size(), entries);
  Press(kVkHome);
  g.Pick(0);
  EXPECT_EQ(h.Entries().size(), static_cast<std::size_t>(h.Current() + 1));
  EXPECT_LT(h.Entries().size(), entries);
  EXPECT_EQ(g.record().LastChoice, 0);
  // End goes on through the ends of scenes to the next choice.
  Press(kVkEnd);
  g.TickWhileSkipping();
  EXPECT_TRUE(ChoiceWaits(g.game()));
  EXPECT_FALSE(comforts().skipToChoice);
}

TEST_F(ComfortsTest, TheRouteChartKeepsTheChoicesReachedAndReturnsToThem) {
  Begin();
  Press(kVkEnd);
  g.TickWhileSkipping();
  const Seen atChoice = SeenIn(g);
  const std::string taken = g.state().MenuItems[1];
  g.Pick(1);
  for (int i = 0; i < 3; ++i) Click();
  Press(kVkF3);
  const RouteChart& chart = comforts().routeChart;
  ASSERT_TRUE(chart.open);
  ASSERT_EQ(chart.picks.size(), 1u);
  EXPECT_EQ(chart.framed, 0);
  std::vector<std::string> optionRows;
  for (const ChartRow& row : chart.rows)
    if (row.pick == 0) optionRows.push_back(row.text);
  EXPECT_EQ(optionRows, (std::vector<std::string>{Ui(UiText::route_not_reached), taken})) << "the other option unsaid";
  EXPECT_FALSE(host->MillisToNextWork(0)) << "no timer runs while it is open";
  // From the story it asks first; no leaves the chart open and play as it was.
  const auto steps = g.state().StepNo;
  g.dialogs.QueueAnswer(false);
  Press(kVkEnter);
  ASSERT_FALSE(g.dialogs.asked.empty());
  EXPECT_EQ(g.dialogs.asked.back(), Ui(UiText::route_ask_jump));
  EXPECT_TRUE(chart.open);
  EXPECT_EQ(g.state().StepNo, steps);
  g.dialogs.QueueAnswer(true);
  Press(kVkEnter);
  EXPECT_FALSE(chart.open);
  EXPECT_TRUE(ChoiceWaits(g.game()));
  EXPECT_EQ(SeenIn(g), atChoice) << "the page, options and values as last reached";
  EXPECT_EQ(comforts().history.Current(), 1) << "the history starts afresh";
  EXPECT_FALSE(comforts().history.ChoiceBefore());
  const auto routes = RouteRecord::Decode(FileBytes(DataFile("ROUTES.TXT")));
  ASSERT_TRUE(routes);
  ASSERT_EQ(routes->choices.size(), 1u);
  EXPECT_EQ(routes->choices[0].picks, 2u);
  EXPECT_EQ(RouteRecord::Decode(routes->Encode())->Encode(), routes->Encode());
  EXPECT_FALSE(RouteRecord::Decode("PELMOT routes 1\nchoice 0 69 1\n")) << "a choice without its page";
  EXPECT_FALSE(RouteRecord::Decode("PELMOT routes 1\nending 11\n"));
  EXPECT_FALSE(RouteRecord::Decode("PELMOT routes 1\npoint 1 2 3\n"));
  // Values no play holds are refused; a point whose step the scenario no
  // longer has leaves its choice unpickable.
  const std::string dayOne = "\npoint 1 0 0 0 0 0 0 0 0 1 ";
  std::string badDay = routes->Encode();
  ASSERT_NE(badDay.find(dayOne), std::string::npos);
  badDay.replace(badDay.find(dayOne), dayOne.size(), "\npoint 1 0 0 0 0 0 0 0 0 99 ");
  EXPECT_FALSE(RouteRecord::Decode(badDay));
  RouteRecord moved = *routes;
  moved.choices[0].page[0].step = 9999;
  StoryGame other;
  WriteBytes(other.state().WinDir + "/TORMVEL/PELMOT/ROUTES.TXT", moved.Encode());
  other.host().Begin();
  other.StartScene(0);
  other.KeyDown(kVkF3);
  EXPECT_TRUE(other.comforts().routeChart.open);
  EXPECT_TRUE(other.comforts().routeChart.picks.empty());
}

TEST_F(ComfortsTest, ADamagedRouteRecordIsSaidOnceAndLeftAsItIs) {
  WriteBytes(DataFile("ROUTES.TXT"), "PELMOT routes 1\nchoice x\n");
  Begin();
  Press(kVkEnd);
  g.TickWhileSkipping();
  g.Pick(0);
  Click();
  EXPECT_EQ(g.dialogs.messages.size(), 1u);
  EXPECT_EQ(FileBytes(DataFile("ROUTES.TXT")), "PELMOT routes 1\nchoice x\n");
}

TEST_F(ComfortsTest, TheHistoryHoldsTheTimersAndClosedChangesNothing) {
  Begin();
  for (int i = 0; i < 3; ++i) Click();
  const GameState before = g.state();
  const auto pixels = g.form().MainPic.Image();
  g.form().SkipTimer.enabled = true;  // skipping when it opens
  const int lines = comforts().history.Lines();
  EXPECT_GE(lines, 4);
  Wheel(1);
  ASSERT_TRUE(comforts().backlog.open);
  EXPECT_FALSE(host->MillisToNextWork(0)) << "no timer runs while it is open";
  host->OnFrame(100000);
  host->FireTimer(TimerName::Skip);
  Press(kVkUp);
  Press(kVkPageUp);
  EXPECT_EQ(g.state().StepNo, before.StepNo);
  EXPECT_EQ(g.state().PendingText, before.PendingText);
  EXPECT_EQ(g.form().MainPic.Image(), pixels);
  EXPECT_EQ(comforts().history.Lines(), lines);
  Wheel(-1);  // down past the newest line
  EXPECT_FALSE(comforts().backlog.open);
  EXPECT_TRUE(g.form().SkipTimer.enabled) << "skipping goes on where it was";
}

TEST_F(ComfortsTest, TheHistoryScrollsWithinItsRowsAndFollowsItsFrame) {
  Begin();
  for (int i = 0; i < 30; ++i) Click();
  Press(kVkPageUp);
  Backlog& b = comforts().backlog;
  ASSERT_TRUE(b.open);
  const int most = static_cast<int>(HistoryRows(comforts().history).size()) - kBacklogRows;
  ASSERT_GT(most, 0);
  Wheel(100);
  EXPECT_EQ(b.scrolled, most);
  Press(kVkDown);
  EXPECT_EQ(b.scrolled, 0) << "the view goes back to the frame, on the newest entry";
  for (int i = 0; i < 30; ++i) Press(kVkUp);
  EXPECT_EQ(b.framed, 0);
  EXPECT_EQ(b.scrolled, most) << "the first entry is in view";
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

// --- text drawn at a speed ----------------------------------------------------------

// The screen of scene 0's first `pages` pages as instant text draws them.
std::vector<testing::Pixels> InstantPages(int pages) {
  StoryGame instant;
  instant.host().Begin();
  instant.StartScene(0);
  std::vector<testing::Pixels> shots;
  for (int i = 0; i < pages; ++i) {
    testing::Pixels pixels(kScreenPixels);
    instant.host().Compose(pixels);
    shots.push_back(pixels);
    instant.Click(400, 300);
  }
  return shots;
}

// The limit on the pictures' copies reaches the loader at the start: from
// the settings file, else 512 MiB.
TEST_F(ComfortsTest, ThePictureCopiesLimitInTheSettingsReachesTheLoader) {
  WriteBytes(DataFile("SETTINGS.TXT"), "picture_cache_mb=64\n");
  Begin();
  EXPECT_EQ(g.pictures.copiesWithin, std::uint64_t{64} << 20);
  StoryGame plain;
  plain.host().Begin();
  EXPECT_EQ(plain.pictures.copiesWithin, std::uint64_t{512} << 20);
}

TEST_F(ComfortsTest, TextAtASpeedDrawsEachPageACharacterAtATime) {
  const auto instant = InstantPages(5);
  WriteBytes(DataFile("SETTINGS.TXT"), "text_speed=20\n");  // a character every 50 ms
  Begin();
  const auto shown = [&] { return testing::Compare(Shot(), instant[0]).pixels; };
  const int blank = shown();
  ASSERT_GT(blank, 0) << "nothing of the page is drawn yet";
  Wait(149);
  const int two = shown();
  Wait(1);
  const int three = shown();
  EXPECT_LT(two, blank);
  EXPECT_LT(three, two) << "the third character at 150 ms";
  const ScreenRect rest = testing::Compare(Shot(), instant[0]).bounds;
  const std::u32string firstRow = comforts().typewriter.rows.at(0);
  const int drawnWidth = g.text.Width(EncodeUtf8(firstRow.substr(0, 3)), g.form().Msg.fontPixels);
  EXPECT_GE(rest.left, comforts().typewriter.origins.at(0).x + drawnWidth)
      << "only the characters still to come are covered";

  // A click completes the page and does nothing more.
  const auto step = g.state().StepNo;
  Click();
  EXPECT_EQ(Shot(), instant[0]) << "pixel for pixel as instant text";
  EXPECT_EQ(g.state().StepNo, step);
  Click();
  ASSERT_NE(g.state().StepNo, step) << "the next click advances";

  // Left alone, the page completes in its own time, the same in the end.
  Wait(50 * comforts().typewriter.total - 1);
  EXPECT_NE(Shot(), instant[1]);
  Wait(1);
  EXPECT_EQ(Shot(), instant[1]);
  EXPECT_FALSE(g.form().timers[TimerName::Typewriter].enabled);

  // Hiding the window to see the picture alone ends the drawing.
  Click();
  ASSERT_TRUE(TypewriterDrawing(g.game(), comforts()));
  RightClick();
  EXPECT_FALSE(comforts().typewriter.drawing);
  Click();  // the window back
  EXPECT_EQ(Shot(), instant[2]);

  // Skipping draws at once.
  Click();
  ASSERT_TRUE(TypewriterDrawing(g.game(), comforts()));
  host->OnEvent(KeyEvent(InputEvent::Kind::kKeyDown, kVkControl));
  EXPECT_EQ(Shot(), instant[3]);
  host->FireTimer(TimerName::Skip);
  EXPECT_FALSE(comforts().typewriter.drawing);
  EXPECT_EQ(Shot(), instant[4]);
}

TEST_F(ComfortsTest, AutoForwardCountsItsWaitFromWhenThePageIsDrawn) {
  WriteBytes(DataFile("SETTINGS.TXT"), "text_speed=60\nauto_forward_base_ms=500\nauto_forward_per_char_ms=0\n");
  Begin();
  Press(kVkA);
  ASSERT_TRUE(comforts().autoForward.on);
  const int chars = comforts().autoForward.lastPageChars;
  const int drawing = (chars * 1000 + 59) / 60;  // the last character's time
  const int step = g.state().StepNo[kModeScene];
  Wait(drawing - 1);
  EXPECT_FALSE(g.form().timers[TimerName::AutoForward].enabled) << "not while the page is drawn";
  Wait(1 + 499);
  EXPECT_EQ(g.state().StepNo[kModeScene], step);
  Wait(1);
  EXPECT_EQ(g.state().StepNo[kModeScene], step + 1);
  EXPECT_TRUE(comforts().typewriter.drawing);
  Press(kVkEnter);  // completes the page; auto-forward goes on
  EXPECT_TRUE(comforts().autoForward.on);
  EXPECT_EQ(g.state().StepNo[kModeScene], step + 1);
  EXPECT_TRUE(g.form().timers[TimerName::AutoForward].enabled);
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
  s.textSpeed = 45;
  EXPECT_EQ(ParseSettings(FormatSettings(s)), s);
  EXPECT_EQ(ParseSettings(""), Settings{});
  // Instant text is the file without the key, as it was before text had a speed.
  EXPECT_EQ(FormatSettings(Settings{}).find("text_speed"), std::string::npos);
  EXPECT_EQ(ParseSettings("text_speed=0\n"), Settings{});
  EXPECT_EQ(ParseSettings("text_speed=60\n")->textSpeed, 60);
  EXPECT_FALSE(ParseSettings("text_speed=25\n"));
  EXPECT_FALSE(ParseSettings("text_speed=fast\n"));
  EXPECT_FALSE(ParseSettings("text_speed=\n"));
  s.savePreviews = true;
  EXPECT_EQ(ParseSettings(FormatSettings(s)), s);
  EXPECT_FALSE(ParseSettings("skip=read\n")->savePreviews) << "a file from before the previews: off";
  EXPECT_FALSE(ParseSettings("save_previews=yes\n"));
  EXPECT_FALSE(ParseSettings("skip=some\n"));
  EXPECT_FALSE(ParseSettings("auto_forward_base_ms=-1\n"));
  EXPECT_FALSE(ParseSettings("auto_forward_base_ms=99999999999\n"));
  EXPECT_FALSE(ParseSettings("auto_forward_base_ms=12ms\n"));
  // The picture cache's limit: 512 MiB without the key, which is written
  // only when set otherwise.
  EXPECT_EQ(FormatSettings(Settings{}).find("picture_cache_mb"), std::string::npos);
  EXPECT_EQ(ParseSettings("picture_cache_mb=512\n"), Settings{});
  s.pictureCacheMb = 0;
  EXPECT_EQ(ParseSettings(FormatSettings(s)), s);
  for (const char* wrong : {"-1", "1048577", "lots", "", "64MB"})
    EXPECT_FALSE(ParseSettings(std::string("picture_cache_mb=") + wrong + "\n")) << wrong;
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
  Press(kVkRight);  // text speed: instant -> 10 a second
  Press(kVkRight);  // 20
  Press(kVkDown);   // auto-forward
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
  EXPECT_EQ(kept->textSpeed, 20);

  // The next start puts the window as they say.
  StoryGame next;
  fs::create_directories(next.state().WinDir + "/TORMVEL/PELMOT");
  WriteBytes(next.state().WinDir + "/TORMVEL/PELMOT/SETTINGS.TXT", FormatSettings(*kept));
  next.host().Begin();
  EXPECT_EQ(next.display.windowMultiple, 2);
  EXPECT_EQ(next.comforts().settings, *kept);
}

// Rows the screen has no room for scroll into view with the selection, the
// wheel and the marks, and the pointer picks the row in the slot it is on.
TEST_F(ComfortsTest, TheSettingsScreenScrollsToReachEveryRow) {
  Begin();
  Press(kVkF2);
  RowList& rows = comforts().settingsScreen.rows;
  EXPECT_EQ(rows.count, kSettingsRowCount);
  EXPECT_FALSE(rows.MoreAbove());
  EXPECT_TRUE(rows.MoreBelow()) << "the language and reading rows lie below the room";
  rows.room = 3;  // as if there were many more rows than fit
  const auto marks = [&] {
    g.text.drawn.clear();
    Shot();
    return std::pair{g.text.Drew("▲"), g.text.Drew("▼")};
  };
  EXPECT_EQ(marks(), std::pair(false, true));
  for (int row = 1; row < kSettingsRowCount; ++row) {
    Press(kVkDown);
    ASSERT_EQ(rows.selected, row);
    EXPECT_EQ(rows.first, std::max(0, row - 2)) << "the selection is on the bottom slot";
  }
  EXPECT_EQ(marks(), std::pair(true, false));
  Wheel(2);  // up
  EXPECT_EQ(rows.first, kSettingsRowCount - 5);
  EXPECT_EQ(rows.selected, kSettingsRowCount - 3) << "the selection stays on screen";
  EXPECT_EQ(marks(), std::pair(true, true));

  InputEvent e{InputEvent::Kind::kMouseDown};
  e.button = 1;
  e.x = 400;
  e.y = SettingsRowTextTop(kSettingsMoreAboveSlot) + 8;
  for (int i = 0; i < kSettingsRowCount; ++i) host->OnEvent(e);  // the mark above, to the top
  EXPECT_EQ(rows.first, 0);
  EXPECT_EQ(marks(), std::pair(false, true));
  e.y = SettingsRowTextTop(3) + 8;  // the mark below now
  host->OnEvent(e);
  EXPECT_EQ(rows.first, 1);
  e.kind = InputEvent::Kind::kMouseMove;
  e.y = SettingsRowTextTop(0) + 8;
  host->OnEvent(e);
  EXPECT_EQ(rows.selected, 1);
  e.kind = InputEvent::Kind::kMouseDown;
  host->OnEvent(e);  // the row in the top slot: auto-forward
  EXPECT_TRUE(comforts().autoForward.on);
  Press(kVkUp);
  EXPECT_EQ(rows.first, 0);
  Press(kVkUp);  // round to the last row
  EXPECT_EQ(rows.selected, static_cast<int>(SettingsRow::Close));
  EXPECT_EQ(rows.first, kSettingsRowCount - 3);
}

TEST_F(ComfortsTest, TheArrowsOnTheLastRowLeaveTheSettingsScreenOpen) {
  Begin();
  Press(kVkF2);
  Press(kVkUp);  // round to the last row
  ASSERT_EQ(comforts().settingsScreen.rows.selected, static_cast<int>(SettingsRow::Close));
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
  // The last row is below the room: the list scrolls to it first.
  RowList& rows = comforts().settingsScreen.rows;
  rows.Select(static_cast<int>(SettingsRow::Close));
  press.y = SettingsRowTextTop(static_cast<int>(SettingsRow::Close) - rows.first) + 8;
  host->OnEvent(press);
  EXPECT_FALSE(comforts().settingsScreen.open);
}

}  // namespace
}  // namespace pelmot
