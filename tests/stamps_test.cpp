// Stamps in every form the original program left, and dates far out of range.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>

#include "app/script_runner.h"
#include "flow/greeting.h"
#include "game_fixture.h"
#include "menus/system_menu.h"
#include "persist/data_files.h"
#include "persist/stamps.h"

namespace pelmot {
namespace {

using testing::TestGame;

TEST(StampForms, TheOriginalsOtherFormsReadBack) {
  // A date alone: the general date-time notation at exactly midnight.
  EXPECT_EQ(ParseStamp("　2026/12/06"), (LocalDateTime{2026, 12, 6, 0, 0, 0}));
  EXPECT_EQ(ParseStamp("2026/12/06 9:21:05"), (LocalDateTime{2026, 12, 6, 9, 21, 5}));
  EXPECT_EQ(ParseStamp("　2026/12/06 9:21"), (LocalDateTime{2026, 12, 6, 9, 21, 0}));
  EXPECT_EQ(ParseStamp("2026/1/2 09:05"), (LocalDateTime{2026, 1, 2, 9, 5, 0}));
  EXPECT_EQ(ShortStamp("　2026/12/06"), "26/12/06 00:00");
}

TEST(StampForms, DamagedOrOutOfRangeStampsReadAsNone) {
  for (const char* bad : {"　2026/12/06 ", "　2026/12/06 9", "　2026/12/06 9:21:05 ", "　2026/12", "　+2026/12/06",
                          "　-2026/12/06", "　0/12/06", "　99999/1/1", "　2147483648/1/1 0:00:00", "　2026/12/06 24:00",
                          "　2026/12/06 9:60", "　2026/12/06 9:21:60", "　2026/12/06 9:2a", "　　2026/12/06", "x"})
    EXPECT_FALSE(ParseStamp(bad)) << bad;
  // The game's own stamps are written as before.
  EXPECT_EQ(MakeStamp({2026, 12, 6, 0, 0, 0}), "　2026/12/06 0:00:00");
}

TEST(StampForms, AMidnightStampLabelsItsSlotAndGreets) {
  TestGame t;
  t.state().SaveDate[3] = "　2026/12/06";
  EXPECT_EQ(FileSelectItems(t.game())[3], "データ４ 26/12/06 00:00");
  EXPECT_EQ(SlotQuestion(t.game(), 3, false), "データ４26/12/06 00:00をロードしますか？");
  // Three days after a midnight quit: the three-day row, not the row a
  // stamp that cannot be read falls back to.
  const GreetingChoice c = ChooseGreeting(0, ParseStamp("　2026/12/03"), false, {2026, 12, 6, 10, 0, 0});
  EXPECT_EQ(c.picture, 119);
}

TEST(FarDates, CalendarDifferencesClampInsteadOfOverflowing) {
  const LocalDateTime farPast{INT_MIN, 1, 1, 0, 0, 0}, farFuture{INT_MAX, 12, 31, 23, 0, 0};
  const LocalDateTime now{2026, 12, 6, 10, 0, 0};
  EXPECT_EQ(HoursBetween(farPast, now), INT_MAX);
  EXPECT_EQ(HoursBetween(farFuture, now), INT_MIN);
  EXPECT_GT(DaysBetween(farPast, now), 0);
  EXPECT_LT(DaysBetween(farFuture, now), 0);
  EXPECT_FALSE(InStampRange(farPast));
  EXPECT_FALSE(InStampRange({2026, 2, 29, 0, 0, 0}));
  EXPECT_TRUE(InStampRange({9999, 12, 31, 23, 59, 59}));
}

TEST(FarDates, AScriptNowOutsideTheStampYearsIsABadScript) {
  for (const char* line : {"now -2147483648-01-01 00:00:00\n", "now 10000-01-01 00:00:00\n", "now 0-01-01 00:00:00\n",
                           "now 2026-02-30 00:00:00\n"}) {
    std::istringstream in(line);
    std::vector<ScriptCommand> commands;
    ScriptError error;
    EXPECT_FALSE(ParseScript(in, "play.txt", commands, error)) << line;
    EXPECT_NE(error.message.find("years 1 ... 9999"), std::string::npos) << error.message;
  }
}

}  // namespace
}  // namespace pelmot
