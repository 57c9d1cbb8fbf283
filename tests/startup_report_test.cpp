// What a headless run tells about the problems it meets: every message box
// on standard error and in `state`, and each folder or font the game cannot
// use said plainly at start-up.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game_fixture.h"

namespace pelmot {
namespace {

namespace fs = std::filesystem;
using testing::CommandRun;
using testing::RunCommand;
using testing::TempDir;

struct StartupRun {
  int status = -1;
  std::string out;
  std::string err;
  bool Said(const std::string& text) const { return err.find(text) != std::string::npos; }
  bool Stated(const std::string& json) const { return out.find(json) != std::string::npos; }
};

// The program on a script that prints the state; `prefix` goes before it on
// the shell's command line (variables, a wrapper), `args` after it.
StartupRun RunPelmot(const std::string& prefix, const std::string& args) {
  TempDir scratch;
  const std::string script = scratch.path() + "/s.txt";
  std::ofstream(script) << "state\n";
  const CommandRun run = RunCommand("ASAN_OPTIONS=detect_leaks=0 " + prefix + " " + std::string(PELMOT_OUTPUT_DIR) +
                                    "/pelmot --headless --script " + script + " " + args);
  return {run.status, run.out, run.err};
}

const std::string kContent = std::string("--content ") + PELMOT_OUTPUT_DIR;

TEST(HeadlessReport, AMessageBoxGoesToStandardErrorAndIntoTheState) {
  // A content folder without its logo movie: the movie cannot play.
  TempDir content, data;
  fs::copy_file(std::string(PELMOT_OUTPUT_DIR) + "/scenario.txt", content.path() + "/scenario.txt");
  StartupRun run = RunPelmot("", "--content " + content.path() + " --data-dir " + data.path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.Said("pelmot: message: " + content.path() + "/LOGO.avi\n")) << run.err;
  EXPECT_TRUE(run.Stated("\"LastMessage\":\"" + content.path() + "/LOGO.avi\\n")) << run.out;
}

TEST(HeadlessReport, WithoutAnyMessageBoxLastMessageIsNull) {
  TempDir data;
  StartupRun run = RunPelmot("", kContent + " --data-dir " + data.path());
  EXPECT_TRUE(run.Stated("\"LastMessage\":null}")) << run.out;
  EXPECT_FALSE(run.Said("pelmot: message:")) << run.err;
}

TEST(HeadlessReport, AMissingContentFolderStopsTheStartWithItsOwnStatus) {
  TempDir data;
  StartupRun run = RunPelmot("", "--content " + data.path() + "/absent --data-dir " + data.path());
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(run.Said("the content folder " + data.path() + "/absent does not exist")) << run.err;
  EXPECT_FALSE(fs::exists(data.path() + "/TORMVEL")) << "nothing was started";
}

TEST(HeadlessReport, ARelativeXdgDataHomeIsIgnoredWithAWarning) {
  TempDir home;
  StartupRun run = RunPelmot("XDG_DATA_HOME=relative/data HOME=" + home.path(), kContent);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.Said("XDG_DATA_HOME (relative/data) is not an absolute path and is ignored"));
  EXPECT_TRUE(run.Stated("\"WinDir\":\"" + home.path() + "/.local/share\"")) << run.out;
  EXPECT_TRUE(fs::exists(home.path() + "/.local/share/TORMVEL/PELMOT/SAVEDATE.DAT"));
  EXPECT_FALSE(fs::exists("relative"));
}

TEST(HeadlessReport, ADataFolderThatCannotBeMadeIsSaidAndTheGameStillPlays) {
  // A file where the data root's folder should be.
  TempDir data;
  std::ofstream(data.path() + "/TORMVEL") << "in the way";
  StartupRun run = RunPelmot("", kContent + " --data-dir " + data.path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.Said("the data folder " + data.path() + "/TORMVEL/PELMOT cannot be used: it cannot be made"))
      << run.err;
  EXPECT_TRUE(run.Stated("\"LastMessage\":\"セーブデータのフォルダーを作れません。")) << run.out;
  EXPECT_TRUE(run.Stated("\"FlowMode\":0")) << run.out;
}

TEST(HeadlessReport, ADataFolderThatCannotBeWrittenIsSaid) {
  // /proc is a folder no file can be created in, whoever runs the test.
  StartupRun run = RunPelmot("XDG_DATA_HOME=/proc", kContent);
  EXPECT_TRUE(run.Said("the data folder /proc/TORMVEL/PELMOT cannot be used")) << run.err;
  EXPECT_TRUE(run.Stated("\"LastMessage\":\"セーブデータのフォルダー")) << run.out;
}

TEST(HeadlessReport, ADataRootLongerThanTheSystemAllowsIsSaid) {
  TempDir data;
  const std::string longRoot = data.path() + "/" + std::string(300, 'd');
  StartupRun run = RunPelmot("", kContent + " --data-dir " + longRoot);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.Said("cannot be used: its path is longer than the system allows")) << run.err;
  EXPECT_TRUE(run.Stated("\"LastMessage\":\"セーブデータのフォルダーのパスが長すぎます。")) << run.out;
  EXPECT_TRUE(run.Stated("…")) << "the box shortens the path";
}

// Hides every font from the run: an empty font folder mounted over the
// system's, in a mount namespace of its own (which needs root).
TEST(HeadlessReport, NoFontAtAllIsSaid) {
  if (std::system("unshare -m true 2>/dev/null") != 0) GTEST_SKIP() << "no mount namespaces here";
  TempDir empty, data;
  std::ofstream(empty.path() + "/fonts.conf") << "<fontconfig></fontconfig>\n";
  const std::string hide = "unshare -m sh -c 'mount --bind " + empty.path() +
                           " /usr/share/fonts && FONTCONFIG_FILE=" + empty.path() + "/fonts.conf exec \"$0\" \"$@\"'";
  StartupRun run = RunPelmot(hide, kContent + " --data-dir " + data.path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.Said("pelmot: no window font found")) << run.err;
  EXPECT_TRUE(run.Stated("\"LastMessage\":\"No font for the game's text")) << run.out;
}

}  // namespace
}  // namespace pelmot
