// Files the game is given that are not what they claim: pipes, devices,
// huge files, links planted where the game writes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>

#include "game_fixture.h"
#include "persist/data_files.h"
#include "persist/data_report.h"
#include "platform/common/codepage.h"
#include "platform/common/files.h"
#include "platform/common/lazy_library.h"
#include "scenes/playable_slot.h"

namespace pelmot {
namespace {

namespace fs = std::filesystem;
using testing::FileBytes;
using testing::TempDir;
using testing::TestGame;
using testing::WriteBytes;

TEST(ReadingFiles, OnlyRegularFilesWithinTheLimitAreRead) {
  TempDir dir;
  const std::string file = dir.path() + "/file", fifo = dir.path() + "/fifo";
  WriteBytes(file, "twelve bytes");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string error;
  EXPECT_EQ(ReadWholeFile(file, 12, error), "twelve bytes");
  EXPECT_FALSE(ReadWholeFile(file, 11, error));
  EXPECT_NE(error.find("too large"), std::string::npos) << error;
  EXPECT_FALSE(ReadWholeFile(fifo, 100, error)) << "a pipe is refused at once, never waited on";
  EXPECT_NE(error.find("pipe"), std::string::npos) << error;
  EXPECT_FALSE(ReadWholeFile("/dev/zero", 100, error));
  EXPECT_NE(error.find("device"), std::string::npos) << error;
  EXPECT_FALSE(ReadWholeFile(dir.path(), 100, error));
  EXPECT_FALSE(ReadWholeFile(dir.path() + "/missing", 100, error));
  EXPECT_NE(error.find(dir.path() + "/missing"), std::string::npos) << "the message names the file";
}

class BadDataFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    t.state().WinDir = t.game().paths.dataRoot;
    fs::create_directories(folder());
  }
  std::string folder() { return t.game().paths.dataRoot + "/TORMVEL/PELMOT"; }
  TestGame t;
};

// A library opened when first used: a missing one, or one without a
// function asked for, says so and nothing is called.
TEST(LazyLibraries, AMissingLibraryOrFunctionIsToldAndNothingCalled) {
  std::string error;
  LazyLibrary missing("libpelmot-missing.so.0");
  const LazyFunction<int(int)> absent{missing, "abs"};
  EXPECT_FALSE(missing.Loads(error));
  EXPECT_NE(error.find("libpelmot-missing.so.0 cannot be loaded"), std::string::npos) << error;
  LazyLibrary partial("libc.so.6");
  const LazyFunction<int(int)> present{partial, "abs"};
  const LazyFunction<int(int)> unknown{partial, "pelmot_no_such_function"};
  EXPECT_FALSE(partial.Loads(error));
  EXPECT_EQ(error, "libc.so.6 has no pelmot_no_such_function");
  LazyLibrary whole("libc.so.6");
  const LazyFunction<int(int)> abs{whole, "abs"};
  ASSERT_TRUE(whole.Loads(error));
  EXPECT_EQ(abs(-3), 3);
}

TEST_F(BadDataFiles, APipeOrADeviceAsADataFileIsToldAndTheGameStarts) {
  ASSERT_EQ(::mkfifo(CgSeenPath(t.game()).c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", SaveDatePath(t.game()));
  ReadPersistentData(t.game());
  ASSERT_EQ(t.dialogs.messages.size(), 2u);
  EXPECT_NE(t.dialogs.messages[0].find("SAVEDATE.DAT"), std::string::npos);
  EXPECT_NE(t.dialogs.messages[1].find("SAVEDATA.DAT"), std::string::npos);
  EXPECT_EQ(t.state().SaveDate[10], "");
  EXPECT_EQ(t.state().CgSeen[0], 0);
  // The next write puts a regular file in the pipe's place.
  t.state().CgSeen[3] = 1;
  ASSERT_TRUE(WriteCgSeen(t.game()));
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(CgSeenPath(t.game()))));
  EXPECT_EQ(ReadWholeFile(CgSeenPath(t.game()))->at(3), 1);
}

TEST_F(BadDataFiles, AHugeDataFileIsRefusedWithAMessage) {
  WriteBytes(SaveDatePath(t.game()), std::string(kMaxDataFileBytes + 1, 'x'));
  ReadPersistentData(t.game());
  ASSERT_EQ(t.dialogs.messages.size(), 1u);
  EXPECT_NE(t.dialogs.messages[0].find("too large"), std::string::npos);
}

TEST_F(BadDataFiles, ASlotThatIsADeviceIsRefusedNotRead) {
  fs::create_symlink("/dev/zero", SlotPath(t.game(), 2));
  std::string problem;
  EXPECT_FALSE(ReadSlot(t.game(), 2, problem));
  EXPECT_NE(problem.find("device"), std::string::npos) << problem;
}

TEST(InspectSave, ADeviceOrAPipeIsRefusedWithAMessage) {
  TempDir dir;
  const std::string fifo = dir.path() + "/SAVEDATA.DAT";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  Cp932CodePage cp932;
  SystemFiles systemFiles;
  for (const std::string& path : {std::string("/dev/zero"), fifo}) {
    std::ostringstream out, err;
    EXPECT_EQ(InspectDataFile(systemFiles, cp932, path, out, err), 1);
    EXPECT_NE(err.str().find(path), std::string::npos) << err.str();
  }
}

TEST_F(BadDataFiles, ALinkPlantedAtATemporaryNameIsNeverWrittenThrough) {
  TempDir elsewhere;
  const std::string victim = elsewhere.path() + "/victim";
  WriteBytes(victim, "keep me");
  const std::string slot = SlotPath(t.game(), 0);
  fs::create_symlink(victim, slot + ".tmp");
  ASSERT_TRUE(WriteSlot(t.game(), 0));
  EXPECT_EQ(FileBytes(victim), "keep me");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(slot)));
  EXPECT_EQ(FileBytes(slot).size(), 30u);
}

TEST_F(BadDataFiles, ADataFileThatIsALinkIsReadThroughAndReplacedByAFile) {
  TempDir elsewhere;
  const std::string target = elsewhere.path() + "/SAVEDATA.DAT";
  WriteBytes(target, std::string(136, '\0') + "tail");
  fs::create_symlink(target, CgSeenPath(t.game()));
  ReadPersistentData(t.game());
  EXPECT_TRUE(t.dialogs.messages.empty());
  t.state().CgSeen[0] = 1;
  ASSERT_TRUE(WriteCgSeen(t.game()));
  EXPECT_EQ(FileBytes(target), std::string(136, '\0') + "tail") << "the link's target is never written";
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(CgSeenPath(t.game()))));
  EXPECT_EQ(FileBytes(CgSeenPath(t.game())), "\1" + std::string(135, '\0') + "tail")
      << "the old tail is carried over as always";
}

TEST_F(BadDataFiles, StaleTemporaryFilesOfOursGoAtStartOthersStay) {
  fs::create_directories(folder() + "/SAVEDATA.DAT.tmp-folder");  // a folder is never removed
  WriteBytes(folder() + "/SAVEDATA.DAT.tmp-Ab12cD", "half a write");
  fs::create_symlink("/etc/passwd", folder() + "/PELMOTDAT03.DAT.tmp-zzzzzz");
  WriteBytes(folder() + "/notes.txt", "mine");
  ReadPersistentData(t.game());
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder() + "/SAVEDATA.DAT.tmp-Ab12cD")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder() + "/PELMOTDAT03.DAT.tmp-zzzzzz")));
  EXPECT_TRUE(fs::exists(folder() + "/notes.txt"));
  EXPECT_TRUE(fs::exists(folder() + "/SAVEDATA.DAT.tmp-folder"));
  EXPECT_TRUE(fs::exists("/etc/passwd"));
}

TEST_F(BadDataFiles, WritesLeaveNoTemporaryFilesBehind) {
  ReadPersistentData(t.game());
  ASSERT_TRUE(WriteSlot(t.game(), 0));
  ASSERT_TRUE(WriteCgSeen(t.game()));
  for (const auto& entry : fs::directory_iterator(folder()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace pelmot
