// The shell: MakePath, start-up on a fresh data root, one copy per data
// root, closing the window, and the display mode switch.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "game/run_flow.h"
#include "game_fixture.h"
#include "persist/data_files.h"
#include "platform/common/instance_lock.h"
#include "platform/common/picload.h"
#include "shell/display_mode.h"
#include "shell/layout.h"
#include "shell/shutdown.h"
#include "shell/startup.h"

namespace pelmot {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::TestGame;

bool IsDir(const std::string& p) { return fs::is_directory(p); }

SystemFiles realFiles;

bool MakePath(const std::string& path) { return realFiles.MakePath(path); }

// --- MakePath --------------------------------------------------------------

TEST(MakePath, CreatesEveryMissingFolderOfAnAbsolutePath) {
  TempDir dir;
  EXPECT_TRUE(MakePath(dir.path() + "/A/B/C"));
  EXPECT_TRUE(IsDir(dir.path() + "/A"));
  EXPECT_TRUE(IsDir(dir.path() + "/A/B"));
  EXPECT_TRUE(IsDir(dir.path() + "/A/B/C"));
  // Again: everything exists, nothing fails.
  EXPECT_TRUE(MakePath(dir.path() + "/A/B/C"));
  // A trailing separator names the same folder.
  EXPECT_TRUE(MakePath(dir.path() + "/D/"));
  EXPECT_TRUE(IsDir(dir.path() + "/D"));
}

TEST(MakePath, CreatesARelativePathBelowTheWorkingFolder) {
  TempDir dir;
  const fs::path before = fs::current_path();
  fs::current_path(dir.path());
  const bool walked = MakePath("R/S");
  fs::current_path(before);
  EXPECT_TRUE(walked);
  EXPECT_TRUE(IsDir(dir.path() + "/R/S"));
}

TEST(MakePath, ANetworkPathWithoutAShareIsRefusedAndNothingIsMade) {
  const std::string server = "pelmot-no-such-server-" + std::to_string(::getpid());
  EXPECT_FALSE(MakePath("//" + server));
  EXPECT_FALSE(MakePath("//" + server + "/share"));
  EXPECT_FALSE(fs::exists("/" + server));
}

TEST(MakePath, ANetworkPathChecksOnlyTheFoldersAfterTheShare) {
  // "//tmp/<dir>/X": server "tmp", share "<dir>"; only .../X is made.
  TempDir dir;
  const std::string share = fs::path(dir.path()).filename().string();
  const std::string server = fs::path(dir.path()).parent_path().relative_path().string();
  ASSERT_EQ(server.find('/'), std::string::npos) << "the temporary folder must be one level down";
  EXPECT_TRUE(MakePath("//" + server + "/" + share + "/X"));
  EXPECT_TRUE(IsDir(dir.path() + "/X"));
  // A share that does not exist is not made: the walk starts after it.
  EXPECT_TRUE(MakePath("//" + server + "/" + share + "-gone/X"));
  EXPECT_FALSE(fs::exists(dir.path() + "-gone"));
}

TEST(MakePath, AFileInTheWayIsIgnoredLikeAnyCreationError) {
  TempDir dir;
  std::ofstream(dir.path() + "/F") << "x";
  EXPECT_TRUE(MakePath(dir.path() + "/F/G"));
  EXPECT_FALSE(fs::exists(dir.path() + "/F/G"));
}

// --- start-up ---------------------------------------------------------------

// A status sheet whose skip-button strip is recognisable.
void WriteStatusSheet(const std::string& content) {
  fs::create_directories(content + "/SYSPIC");
  std::vector<Colour> sheet(800 * 600, Rgb(10, 20, 30));
  for (int y = 225; y < 405; ++y)
    for (int x = 565; x < 585; ++x) sheet[y * 800 + x] = Rgb(x - 565, y - 225, 200);
  ASSERT_TRUE(SavePng(sheet, 800, 600, content + "/SYSPIC/11.png"));
}

TEST(StartUp, OnAFreshDataRootMakesTheFoldersAndEmptyFilesAndStartsTheLogo) {
  TestGame t;
  const std::string root = t.game().paths.dataRoot;
  WriteStatusSheet(t.game().paths.content);
  t.display.current = {32, 1024, 768};
  t.Start();
  const GameState& s = t.state();
  const std::string data = root + "/TORMVEL/PELMOT";
  EXPECT_TRUE(IsDir(root + "/TORMVEL"));
  EXPECT_TRUE(IsDir(data));
  ASSERT_TRUE(fs::exists(data + "/SAVEDATE.DAT"));
  ASSERT_TRUE(fs::exists(data + "/SAVEDATA.DAT"));
  EXPECT_EQ(fs::file_size(data + "/SAVEDATE.DAT"), 0u);
  EXPECT_EQ(fs::file_size(data + "/SAVEDATA.DAT"), 0u);
  for (const auto& stamp : s.SaveDate) EXPECT_EQ(stamp, "");
  EXPECT_EQ(s.WinDir, root);
  EXPECT_EQ(s.StartDisplay, (DisplaySettings{32, 1024, 768}));
  // The window centred on the 1024 x 768 screen; nothing asked, nothing switched.
  EXPECT_EQ(t.display.windowLeft, 112);
  EXPECT_EQ(t.display.windowTop, 84);
  EXPECT_TRUE(t.display.changes.empty());
  EXPECT_TRUE(t.dialogs.asked.empty());
  // The logo plays inside MainPic, moved to 85, 190.
  const std::string movie = t.game().paths.content + "/LOGO.avi";
  EXPECT_EQ(s.MoviePath, movie);
  const std::string quoted = "\"" + movie + "\"";
  EXPECT_EQ(t.multimedia.commands,
            (std::vector<std::string>{"open " + quoted + " alias " + quoted + " style child parent 1",
                                      "play " + quoted + " window"}));
  EXPECT_TRUE(t.form().MainPic.visible);
  EXPECT_EQ(t.form().MainPic.left, 85);
  EXPECT_EQ(t.form().MainPic.top, 190);
  EXPECT_EQ(t.form().MainPic.Width(), 800);
  // Waiting for the first advance.
  EXPECT_TRUE(s.ClickAdvances);
  EXPECT_EQ(s.FlowMode, 0);
  for (int step : s.StepNo) EXPECT_EQ(step, 0);
  // The status sheet waits for its first use: the first frame is the logo.
  EXPECT_EQ(s.SysPic[11].ImagePixel(0, 0), kBlack);
  // The skip button, when it first shows, is the sheet's strip at 565, 225.
  t.state().FlowMode = kModeScene;
  t.Move(790, 500);
  ASSERT_TRUE(t.form().SkipB.visible);
  for (int y : {0, 90, 179})
    for (int x : {0, 10, 19}) EXPECT_EQ(t.form().SkipB.ImagePixel(x, y), Rgb(x, y, 200)) << x << "," << y;
  EXPECT_EQ(s.SysPic[11].ImagePixel(0, 0), Rgb(10, 20, 30));
}

TEST(StartUp, TheFirstClickClosesTheLogoAndWithoutAStampShowsTheTitleAtOnce) {
  TestGame t;
  t.Start();
  const std::string movie = t.state().MoviePath;
  t.Click(400, 300);
  EXPECT_EQ(t.multimedia.commands.back(), "close \"" + movie + "\"");
  EXPECT_EQ(t.state().MoviePath, "");
  EXPECT_EQ(t.form().MainPic.left, 0);
  EXPECT_EQ(t.form().MainPic.top, 0);
  EXPECT_EQ(t.state().StepNo[0], 2);
  EXPECT_EQ(t.state().ShownPic, 0);
}

TEST(StartUp, FontSizesFollowTheScreensResolution) {
  TestGame t;
  t.display.twipsPerPixel = 12;  // 120 dots per inch
  t.Start();
  EXPECT_EQ(t.form().MainPic.fontPoints, 12);
  EXPECT_EQ(t.form().Msg.fontPoints, 14);
  EXPECT_EQ(t.form().CMenu.fontPoints, 14);
  EXPECT_EQ(t.form().SkipB.fontPoints, 12);
  EXPECT_EQ(t.form().SkipB.left, 780);
  EXPECT_EQ(t.form().SkipB.top, 410);
}

TEST(PlaceControl, AFontSizeOfZeroOnlyMovesAndSizes) {
  TestGame t;
  Surface& c = t.form().CMenu;
  c.fontPoints = 9;
  c.fontPixels = 11;
  PlaceControl(t.game(), c, 20, 30, 5, 6, 0);
  EXPECT_EQ(c.fontPoints, 9);
  EXPECT_EQ(c.fontPixels, 11);
  EXPECT_EQ(c.Width(), 20);
  EXPECT_EQ(c.Height(), 30);
  EXPECT_EQ(c.left, 5);
  EXPECT_EQ(c.top, 6);
}

TEST(PlaceControl, FontSizeRule) {
  EXPECT_EQ(ScaledFontSize(15, 15), 15);
  EXPECT_EQ(ScaledFontSize(15, 18), 18);
  EXPECT_EQ(ScaledFontSize(12, 15), 12);
  EXPECT_EQ(ScaledFontSize(12, 18), 14);
  EXPECT_EQ(ScaledFontSize(20, 18), 18);  // coarser screens keep the size
  EXPECT_EQ(FontPixels(15, 15), 20);
  EXPECT_EQ(FontPixels(15, 18), 24);
}

// --- one copy per data root ---------------------------------------------------

TEST(SingleInstance, ASecondClaimOnTheSameDataRootIsRefusedUntilTheFirstEnds) {
  TempDir dir;
  FileInstanceLock first, second, other;
  EXPECT_TRUE(ClaimSingleInstance(realFiles, dir.path(), first));
  EXPECT_TRUE(first.Held());
  EXPECT_TRUE(IsDir(dir.path() + "/TORMVEL/PELMOT"));
  EXPECT_FALSE(ClaimSingleInstance(realFiles, dir.path(), second));
  EXPECT_FALSE(second.Held());
  TempDir elsewhere;
  EXPECT_TRUE(ClaimSingleInstance(realFiles, elsewhere.path(), other));
  first.Release();
  EXPECT_TRUE(ClaimSingleInstance(realFiles, dir.path(), second));
}

TEST(SingleInstance, AFolderThatCannotHoldTheLockDoesNotStopTheGame) {
  FileInstanceLock lock;
  EXPECT_EQ(lock.Acquire("/proc/no-such-folder"), InstanceLock::Result::kUnavailable);
  EXPECT_TRUE(ClaimSingleInstance(realFiles, "/proc/no-such-folder", lock));
}

// Runs the program headless on `root` with a script that prints the state;
// standard error goes to `err`.
int RunProgram(const std::string& root, std::string& out, std::string& err) {
  TempDir scratch;
  const std::string script = scratch.path() + "/s.txt";
  const std::string errFile = scratch.path() + "/err.txt";
  std::ofstream(script) << "state\n";
  // Under the sanitizers the child's own leak report is not this test's business.
  const std::string command = "ASAN_OPTIONS=detect_leaks=0 " + std::string(PELMOT_OUTPUT_DIR) +
                              "/pelmot --headless --script " + script + " --data-dir " + root + " 2>" + errFile;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return -1;
  char buffer[4096];
  out.clear();
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  const int status = ::pclose(pipe);
  err = testing::FileBytes(errFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A script that never ran must not pass: its own status, and a message.
TEST(SingleInstance, AHeadlessRunOnALockedDataRootFailsWithStatusThreeAndSaysWhy) {
  TempDir root;
  FileInstanceLock running;
  ASSERT_TRUE(ClaimSingleInstance(realFiles, root.path(), running));
  std::string out, err;
  EXPECT_EQ(RunProgram(root.path(), out, err), 3);
  EXPECT_EQ(out, "");
  EXPECT_NE(err.find("already runs on the data root " + root.path()), std::string::npos) << err;
  EXPECT_FALSE(fs::exists(root.path() + "/TORMVEL/PELMOT/SAVEDATE.DAT"));
  running.Release();
  EXPECT_EQ(RunProgram(root.path(), out, err), 0);
  EXPECT_NE(out.find("\"FlowMode\""), std::string::npos) << out;
}

// --- closing the window --------------------------------------------------------

TEST(Closing, NoKeepsTheGameExactlyWhereItWas) {
  TestGame t;
  t.Start();
  const std::string saveDate = t.game().state.WinDir + "/TORMVEL/PELMOT/SAVEDATE.DAT";
  const auto commands = t.multimedia.commands;
  t.dialogs.QueueAnswer(false);
  Form_QueryUnload(t.game());
  AfterEvent(t.game());
  EXPECT_EQ(t.dialogs.asked, std::vector<std::string>{"ゲームを終了しますか？"});
  EXPECT_FALSE(t.game().quitRequested);
  EXPECT_EQ(t.multimedia.commands, commands);
  EXPECT_FALSE(t.state().MoviePath.empty());
  EXPECT_EQ(t.state().SaveDate[10], "");
  EXPECT_EQ(fs::file_size(saveDate), 0u);
  // The game goes on: the next click is the first advance.
  t.Click(400, 300);
  EXPECT_EQ(t.state().StepNo[0], 2);
}

TEST(Closing, YesClosesTheLogoWritesTheStampAndEnds) {
  TestGame t;
  t.clock.Set({2026, 12, 6, 9, 21, 5});
  t.Start();
  const std::string movie = t.state().MoviePath;
  t.dialogs.QueueAnswer(true);
  Form_QueryUnload(t.game());
  EXPECT_TRUE(t.game().quitRequested);
  EXPECT_EQ(t.multimedia.commands.back(), "close \"" + movie + "\"");
  EXPECT_EQ(t.state().MoviePath, "");
  EXPECT_EQ(t.state().SaveDate[10], "　2026/12/06 9:21:05");
  // What the next start reads back.
  TestGame next(t.game().paths.dataRoot);
  next.Start();
  EXPECT_EQ(next.state().SaveDate[10], "　2026/12/06 9:21:05");
  EXPECT_EQ(DecodeSaveDate(testing::FileBytes(SaveDatePath(t.game())), t.codePage)[10], "　2026/12/06 9:21:05");
}

TEST(Closing, YesAfterTheLogoSendsNoCloseAndGivesBackTheStartUpDisplay) {
  TestGame t;
  t.display.current = {32, 1024, 768};
  t.Start();
  t.Click(400, 300);  // the logo closes, the title shows
  t.KeyDown(kKeyF1);
  ASSERT_EQ(t.display.current, (DisplaySettings{16, 800, 600}));
  const std::size_t sent = t.multimedia.commands.size();
  t.dialogs.QueueAnswer(true);
  Form_QueryUnload(t.game());
  EXPECT_EQ(t.multimedia.commands.size(), sent);
  EXPECT_EQ(t.display.current, (DisplaySettings{16, 1024, 768}));
  EXPECT_EQ(t.display.windowLeft, 112);
  EXPECT_TRUE(t.game().quitRequested);
}

// --- the display mode -------------------------------------------------------------

struct Modes {
  DisplaySettings start;
  std::vector<DisplaySettings> afterEachF1;
};

class DisplayMode : public ::testing::TestWithParam<Modes> {};

TEST_P(DisplayMode, F1SwitchesAsTheWidthAndHeightComparisonsSay) {
  TestGame t;
  t.display.current = GetParam().start;
  t.Start();
  t.Click(400, 300);
  for (const DisplaySettings& expected : GetParam().afterEachF1) {
    t.KeyDown(kKeyF1);
    t.KeyUp(kKeyF1);
    EXPECT_EQ(t.display.current, expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, DisplayMode,
                         ::testing::Values(
                             // 1024 x 768: 800 x 600 at 16 bits, then back at 16 bits, and again.
                             Modes{{32, 1024, 768}, {{16, 800, 600}, {16, 1024, 768}, {16, 800, 600}}},
                             // Already 800 x 600: nothing to switch.
                             Modes{{32, 800, 600}, {{32, 800, 600}, {32, 800, 600}}},
                             // 600 high: never switches.
                             Modes{{32, 1280, 600}, {{32, 1280, 600}, {32, 1280, 600}}},
                             // 800 wide: never switches either.
                             Modes{{32, 800, 1280}, {{32, 800, 1280}}}));

TEST(DisplayMode, EverySwitchCentresTheWindowOnTheNewScreen) {
  TestGame t;
  t.display.current = {32, 1024, 768};
  t.Start();
  ToggleResolution(t.game());
  EXPECT_EQ(t.display.windowLeft, 0);
  EXPECT_EQ(t.display.windowTop, 0);
  ToggleResolution(t.game());
  EXPECT_EQ(t.display.windowLeft, 112);
  EXPECT_EQ(t.display.windowTop, 84);
  EXPECT_EQ(t.display.changes.size(), 2u);
}

TEST(DisplayMode, TheRestoreNeedsBothWidthAndHeightToDiffer) {
  TestGame t;
  t.display.current = {32, 1024, 768};
  t.Start();
  RestoreStartDisplay(t.game());  // still the start-up mode
  EXPECT_TRUE(t.display.changes.empty());
  t.display.current = {32, 1024, 600};  // changed by someone else, height differs only
  RestoreStartDisplay(t.game());
  EXPECT_TRUE(t.display.changes.empty());
  t.display.current = {32, 800, 600};
  RestoreStartDisplay(t.game());
  EXPECT_EQ(t.display.changes, std::vector<DisplaySettings>{(DisplaySettings{16, 1024, 768})});
}

}  // namespace
}  // namespace pelmot
