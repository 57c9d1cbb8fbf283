// Seen flags written behind the game's thread: in order, newest content
// only, on disk when the game ends, a failure told once.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "app/game_host.h"
#include "game_fixture.h"
#include "persist/data_files.h"
#include "platform/common/files.h"
#include "platform/common/write_behind.h"
#include "shell/shutdown.h"

namespace pelmot {
namespace {

using testing::TestGame;

// Files that record each replacement, can hold the first one back until
// released, and can be told to fail.
class RecordingFiles : public SystemFiles {
 public:
  bool ReplaceWhole(const std::string& path, const std::string& bytes, std::string& error) override {
    std::unique_lock lock(mutex);
    if (holdFirst && written.empty()) {
      started = true;
      changed.notify_all();
      changed.wait(lock, [this] { return !holdFirst; });
    }
    written.push_back(std::filesystem::path(path).filename().string() + "=" + bytes);
    if (slowMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(slowMs));
    if (fail) {
      error = "no space left";
      return false;
    }
    lock.unlock();
    return SystemFiles::ReplaceWhole(path, bytes, error);
  }
  void WaitUntilStarted() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return started; });
  }
  void Release() {
    std::lock_guard lock(mutex);
    holdFirst = false;
    changed.notify_all();
  }

  std::mutex mutex;
  std::condition_variable changed;
  bool holdFirst = false;
  bool started = false;
  bool fail = false;
  int slowMs = 0;
  std::vector<std::string> written;
};

std::function<std::string(Files&)> Bytes(std::string bytes) {
  return [bytes](Files&) { return bytes; };
}

TEST(WriteBehind, ReplacementsComeInOrderAndOnlyTheNewestOfAFileWaits) {
  testing::TempDir dir;
  RecordingFiles files;
  files.holdFirst = true;
  {
    WriteBehindFiles behind(files);
    behind.ReplaceWholeLater(dir.path() + "/A", Bytes("1"));
    files.WaitUntilStarted();  // A=1 is being written: the rest wait
    behind.ReplaceWholeLater(dir.path() + "/A", Bytes("2"));
    behind.ReplaceWholeLater(dir.path() + "/B", Bytes("1"));
    behind.ReplaceWholeLater(dir.path() + "/A", Bytes("3"));
    files.Release();
    behind.FinishLaterWrites();
    EXPECT_EQ(files.written, (std::vector<std::string>{"A=1", "B=1", "A=3"}));
    EXPECT_FALSE(behind.TakeLaterWriteFailure());
    behind.ReplaceWholeLater(dir.path() + "/B", Bytes("2"));
  }
  EXPECT_EQ(files.written.back(), "B=2") << "what waits is written before the files go";
  EXPECT_EQ(*ReadWholeFile(dir.path() + "/A"), "3");
}

// Skipping asks for the same files many times a second: a file written a
// moment ago waits out the spacing, and then only its newest contents go,
// still in the order asked. Finishing writes everything at once.
TEST(WriteBehind, AFileAskedForAgainSoonIsWrittenOnceWithItsNewestContents) {
  testing::TempDir dir;
  RecordingFiles files;
  WriteBehindFiles behind(files, std::chrono::seconds(30));
  behind.ReplaceWholeLater(dir.path() + "/A", Bytes("1"));
  behind.FinishLaterWrites();
  for (const char* bytes : {"2", "3", "4"}) behind.ReplaceWholeLater(dir.path() + "/A", Bytes(bytes));
  behind.ReplaceWholeLater(dir.path() + "/B", Bytes("1"));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  {
    std::lock_guard lock(files.mutex);
    EXPECT_EQ(files.written, (std::vector<std::string>{"A=1"}));
  }
  behind.FinishLaterWrites();
  EXPECT_EQ(files.written, (std::vector<std::string>{"A=1", "A=4", "B=1"}));
  EXPECT_EQ(*ReadWholeFile(dir.path() + "/A"), "4");
}

// A game whose files are written behind it, on the test's own files.
struct BehindGame {
  explicit BehindGame(Files& underneath)
      : behind(underneath),
        services{t.clock, t.dialogs, t.display, t.multimedia, t.pictures, t.text, behind, t.codePage, t.lock, t.clock},
        game(services, t.game().paths, StandardModes()) {
    game.state.WinDir = game.paths.dataRoot;
    std::filesystem::create_directories(game.paths.dataRoot + "/TORMVEL/PELMOT");
  }
  TestGame t;
  WriteBehindFiles behind;
  Services services;
  Game game;
};

TEST(WriteBehind, TheSeenFlagsAreOnDiskOnceTheQuitSequenceEnds) {
  RecordingFiles files;
  files.slowMs = 30;
  BehindGame g(files);
  g.game.state.CgSeen[5] = 1;
  EXPECT_TRUE(WriteCgSeen(g.game));
  g.game.state.CgSeen[6] = 1;
  EXPECT_TRUE(WriteCgSeen(g.game));
  QuitSequence(g.game);
  const std::string onDisk = *ReadWholeFile(CgSeenPath(g.game));
  ASSERT_EQ(onDisk.size(), 136u);
  EXPECT_EQ(onDisk[5], 1);
  EXPECT_EQ(onDisk[6], 1);
  EXPECT_TRUE(g.t.dialogs.messages.empty());
}

TEST(WriteBehind, AFailedWriteIsToldOnceAtTheNextEventOrWrite) {
  RecordingFiles files;
  files.fail = true;
  BehindGame g(files);
  WriteCgSeen(g.game);
  g.behind.FinishLaterWrites();
  // The writer may fail before WriteCgSeen returns, which then tells it
  // itself; either way on the game's thread, and never twice.
  EXPECT_LE(g.t.dialogs.messages.size(), 1u);
  GameHost host(g.game);
  host.OnEvent(InputEvent{});
  ASSERT_EQ(g.t.dialogs.messages.size(), 1u);
  EXPECT_NE(g.t.dialogs.messages[0].find("SAVEDATA.DAT\nno space left"), std::string::npos);
  for (int i = 0; i < 3; ++i) {
    WriteCgSeen(g.game);
    g.behind.FinishLaterWrites();
    host.OnEvent(InputEvent{});
  }
  // The failed write is known either to the call that asked for it (when
  // the writer failed before it returned) or to the next one.
  const bool first = WriteCgSeen(g.game);
  g.behind.FinishLaterWrites();
  const bool second = WriteCgSeen(g.game);
  EXPECT_FALSE(first && second) << "a failure known by a write is returned by it";
  EXPECT_EQ(g.t.dialogs.messages.size(), 1u) << "once per run";
}

TEST(WriteBehind, TheOldTailIsKeptAsWhenWrittenAtOnce) {
  SystemFiles files;
  BehindGame g(files);
  std::string old(136, '\0');
  std::string error;
  ASSERT_TRUE(files.ReplaceWhole(CgSeenPath(g.game), old + "tail", error));
  g.game.state.CgSeen[0] = 1;
  WriteCgSeen(g.game);
  g.behind.FinishLaterWrites();
  EXPECT_EQ(*ReadWholeFile(CgSeenPath(g.game)), "\1" + std::string(135, '\0') + "tail");
}

}  // namespace
}  // namespace pelmot
