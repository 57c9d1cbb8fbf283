// The data files' byte layouts, and reading and writing them on disk.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <fstream>

#include "game_fixture.h"
#include "persist/data_files.h"
#include "persist/data_report.h"

#include <sstream>
#include "persist/stamps.h"
#include "platform/common/codepage.h"
#include "platform/common/files.h"

namespace pelmot {
namespace {

Cp932CodePage cp932;
SystemFiles systemFiles;

using testing::TempDir;
using testing::TestGame;

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

// A reference decoder written from the file layout alone.
struct ReferenceSlot {
  explicit ReferenceSlot(const std::string& b) {
    for (int i = 0; i < 15; ++i)
      words[i] = static_cast<std::int16_t>(static_cast<unsigned char>(b[2 * i]) |
                                           static_cast<unsigned char>(b[2 * i + 1]) << 8);
  }
  std::int16_t words[15];
};

TEST(SlotLayout, FifteenLittleEndianWordsInFileOrder) {
  SaveRecord r;
  r.ResumeMode = 1;
  r.SavedScene = 153;
  r.SceneStep = 300;
  r.SavedPic = 200;
  r.LastChoice = 1;
  r.DayNo = 12;
  r.Params = {999, 0, 256, 1};
  r.Condition = 7;
  const std::string bytes = EncodeSlot(r);
  ASSERT_EQ(bytes.size(), 30u);
  ReferenceSlot ref(bytes);
  const std::int16_t expected[15] = {1, 153, 300, 200, 0, 0, 1, 0, 0, 12, 999, 0, 256, 1, 7};
  for (int i = 0; i < 15; ++i) EXPECT_EQ(ref.words[i], expected[i]) << "word " << i;
  EXPECT_EQ(bytes.substr(4, 2), Bytes({0x2C, 0x01}));
  auto back = DecodeSlot(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(EncodeSlot(*back), bytes);
}

TEST(SlotLayout, NegativeWordsAndReservedWordsSurviveARoundTrip) {
  std::string bytes = Bytes(
      {1, 0, 10, 0, 5, 0, 200, 0, 0xFF, 0xFF, 0x34, 0x12, 0, 0, 9, 0, 0, 0x80, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  auto r = DecodeSlot(bytes + "trailing");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Reserved4, -1);
  EXPECT_EQ(r->Reserved5, 0x1234);
  EXPECT_EQ(r->Reserved8, -32768);
  EXPECT_EQ(EncodeSlot(*r), bytes);
  EXPECT_FALSE(DecodeSlot(bytes.substr(0, 29)));
}

TEST(SlotLayout, FileNamesCarryTwoDigits) {
  EXPECT_EQ(SlotFileName(0), "PELMOTDAT01.DAT");
  EXPECT_EQ(SlotFileName(8), "PELMOTDAT09.DAT");
  EXPECT_EQ(SlotFileName(9), "PELMOTDAT10.DAT");
}

TEST(SaveDateLayout, CountedShiftJisStringsAndEmptyOnes) {
  Stamps stamps{};
  stamps[0] = "　2026/12/06 9:21:05";
  const auto bytes = EncodeSaveDate(stamps, cp932);
  ASSERT_TRUE(bytes);
  // 20 bytes of text: 81 40 for the ideographic space, then 18 ASCII characters.
  EXPECT_EQ(bytes->substr(0, 4), Bytes({20, 0, 0x81, 0x40}));
  EXPECT_EQ(bytes->substr(4, 18), "2026/12/06 9:21:05");
  EXPECT_EQ(bytes->size(), 22u + 20u);
  EXPECT_EQ(bytes->substr(22), std::string(20, '\0'));
  EXPECT_EQ(DecodeSaveDate(*bytes, cp932), stamps);
  stamps[1] = "\xF0\x9F\x98\x80";  // an emoji, which Shift-JIS cannot hold
  EXPECT_FALSE(EncodeSaveDate(stamps, cp932)) << "nothing half-written";
}

TEST(SaveDateLayout, AShortFileReadsWhatItHasAndTheRestAsEmpty) {
  Stamps stamps{};
  stamps[0] = "　2026/12/06 9:21:05";
  stamps[1] = "　2026/12/07 10:00:00";
  const std::string bytes = *EncodeSaveDate(stamps, cp932);
  EXPECT_EQ(DecodeSaveDate("", cp932)[0], "");
  // Cut inside the second stamp: the first reads, the second and the rest are empty.
  Stamps cut = DecodeSaveDate(bytes.substr(0, 30), cp932);
  EXPECT_EQ(cut[0], stamps[0]);
  EXPECT_EQ(cut[1], "");
  // Cut inside a count.
  EXPECT_EQ(DecodeSaveDate(bytes.substr(0, 23), cp932)[1], "");
  EXPECT_EQ(DecodeSaveDate(Bytes({1, 0, 0x81}), cp932)[0], "") << "half a character";
}

TEST(SaveDateLayout, TrailingBytesAfterTheElevenEntriesAreNeverRead) {
  Stamps stamps{};
  stamps[10] = "　2026/12/06 23:59:59";
  const std::string bytes = *EncodeSaveDate(stamps, cp932) + "old bytes of a longer file";
  EXPECT_EQ(DecodeSaveDate(bytes, cp932), stamps);
}

TEST(CgSeenLayout, OneHundredThirtySixRawBytes) {
  SeenFlags flags{};
  flags[5] = 1;
  flags[135] = 6;
  const std::string bytes = EncodeCgSeen(flags);
  ASSERT_EQ(bytes.size(), 136u);
  EXPECT_EQ(bytes[5], 1);
  EXPECT_EQ(bytes[135], 6);
  EXPECT_EQ(DecodeCgSeen(bytes.substr(0, 6))[5], 1);
  EXPECT_EQ(DecodeCgSeen(bytes.substr(0, 6))[135], 0);
}

TEST(Stamps, WrittenAsJapaneseWindowsWroteThemAndReadBack) {
  EXPECT_EQ(MakeStamp({2026, 12, 6, 9, 21, 5}), "　2026/12/06 9:21:05");
  EXPECT_EQ(MakeStamp({2027, 1, 2, 23, 0, 0}), "　2027/01/02 23:00:00");
  EXPECT_EQ(ParseStamp("　2026/12/06 9:21:05"), (LocalDateTime{2026, 12, 6, 9, 21, 5}));
  EXPECT_EQ(ParseStamp("　2026/12/06 09:21:05"), (LocalDateTime{2026, 12, 6, 9, 21, 5}));
  EXPECT_EQ(ParseStamp("　2026/2/6 9:21:05"), (LocalDateTime{2026, 2, 6, 9, 21, 5}));
  EXPECT_FALSE(ParseStamp(""));
  EXPECT_FALSE(ParseStamp("　2026/02/30 9:21:05"));
  EXPECT_EQ(ShortStamp("　2026/12/06 9:21:05"), "26/12/06 09:21");
  EXPECT_EQ(ShortStamp(""), "");
}

TEST(Stamps, CalendarDifferences) {
  const LocalDateTime late{2026, 12, 31, 23, 59, 0}, early{2027, 1, 1, 0, 1, 0};
  EXPECT_EQ(DaysBetween(late, early), 1);
  EXPECT_EQ(HoursBetween(late, early), 1);
  EXPECT_EQ(DaysBetween({2024, 2, 28, 0, 0, 0}, {2024, 3, 1, 0, 0, 0}), 2);
  EXPECT_EQ(HoursBetween({2026, 12, 6, 10, 0, 0}, {2026, 12, 6, 14, 30, 0}), 4);
}

TEST(DataFilesOnDisk, AFirstRunCreatesBothFilesEmpty) {
  TestGame t;
  t.state().WinDir = t.game().paths.dataRoot;
  std::filesystem::create_directories(t.game().paths.dataRoot + "/TORMVEL/PELMOT");
  ReadPersistentData(t.game());
  EXPECT_EQ(std::filesystem::file_size(SaveDatePath(t.game())), 0u);
  EXPECT_EQ(std::filesystem::file_size(CgSeenPath(t.game())), 0u);
  EXPECT_EQ(t.state().SaveDate[10], "");
  EXPECT_EQ(t.state().CgSeen[0], 0);
}

TEST(DataFilesOnDisk, AShorterWriteKeepsTheOldTailAsTheOriginalDid) {
  TestGame t;
  t.state().WinDir = t.game().paths.dataRoot;
  std::filesystem::create_directories(t.game().paths.dataRoot + "/TORMVEL/PELMOT");
  const std::string path = SaveDatePath(t.game());
  testing::WriteBytes(path, std::string(100, 'x'));
  t.state().SaveDate[0] = "　2026/12/06 9:21:05";
  ASSERT_TRUE(WriteSaveDate(t.game()));
  std::string bytes = *ReadWholeFile(path);
  EXPECT_EQ(bytes.size(), 100u);
  EXPECT_EQ(bytes.substr(42), std::string(58, 'x'));
  EXPECT_EQ(DecodeSaveDate(bytes, t.codePage), t.state().SaveDate);
}

// While it lives, every write of a byte fails, even for root: the file
// size limit is 0 and its signal ignored, so write() says EFBIG.
class BlockWrites {
 public:
  BlockWrites() {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit none = saved_;
    none.rlim_cur = 0;
    ::setrlimit(RLIMIT_FSIZE, &none);
  }
  ~BlockWrites() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit saved_{};
  void (*oldHandler_)(int) = nullptr;
};

TEST(DataFilesOnDisk, AFailedWriteLeavesTheOldFileAndSaysSoOnce) {
  TestGame t;
  t.state().WinDir = t.game().paths.dataRoot;
  std::filesystem::create_directories(t.game().paths.dataRoot + "/TORMVEL/PELMOT");
  testing::WriteBytes(CgSeenPath(t.game()), std::string(136, '\1'));
  {
    BlockWrites blocked;
    EXPECT_FALSE(WriteCgSeen(t.game()));
    EXPECT_FALSE(WriteCgSeen(t.game()));
  }
  EXPECT_EQ(t.dialogs.messages.size(), 1u) << "the seen flags' failure is told once";
  EXPECT_EQ(*ReadWholeFile(CgSeenPath(t.game())), std::string(136, '\1'));
}

}  // namespace
}  // namespace pelmot

namespace pelmot {
namespace {

TEST(InspectSave, PrintsEachKindOfFileInWords) {
  testing::TempDir dir;
  SaveRecord r;
  r.ResumeMode = 1;
  r.SavedScene = 12;
  r.SceneStep = 33;
  r.Params = {20, 0, 0, 40};
  std::ofstream(dir.path() + "/PELMOTDAT03.DAT", std::ios::binary) << EncodeSlot(r);
  std::ofstream(dir.path() + "/SAVEDATA.DAT", std::ios::binary) << std::string("\0\1\0\1", 4);
  std::ostringstream out, err;
  EXPECT_EQ(InspectDataFile(systemFiles, cp932, dir.path() + "/PELMOTDAT03.DAT", out, err), 0);
  EXPECT_NE(out.str().find("SceneStep   33"), std::string::npos);
  EXPECT_NE(out.str().find("Params      20 0 0 40"), std::string::npos);
  EXPECT_EQ(InspectDataFile(systemFiles, cp932, dir.path() + "/SAVEDATA.DAT", out, err), 0);
  EXPECT_NE(out.str().find("seen 2 of 135 pictures: 1 3"), std::string::npos);
  EXPECT_EQ(InspectDataFile(systemFiles, cp932, dir.path() + "/missing.DAT", out, err), 1);
}

TEST(InspectSave, TheQuickSaveIsASlotEvenWhenItIsShort) {
  testing::TempDir dir;
  std::ofstream(dir.path() + "/PELMOTQUICK.DAT", std::ios::binary) << "short";
  std::ostringstream out, err;
  InspectDataFile(systemFiles, cp932, dir.path() + "/PELMOTQUICK.DAT", out, err);
  EXPECT_EQ(err.str().find("is not"), std::string::npos) << err.str();
  EXPECT_NE((out.str() + err.str()).find("PELMOTQUICK.DAT"), std::string::npos);
}

}  // namespace
}  // namespace pelmot
