// The machine's services the core reaches through Services: the clocks and
// the code page, as the program and the headless runner build them.
#include <gtest/gtest.h>

#include "platform/common/clock.h"
#include "platform/common/codepage.h"
#include "platform/headless/headless_services.h"

namespace pelmot {
namespace {

TEST(HeadlessClock, MonotonicTimeMovesOnlyWhenAdvancedAndNotWithTheWallClock) {
  HeadlessClock clock;
  MonotonicClock& monotonic = clock;
  EXPECT_EQ(monotonic.NowMs(), 0);
  clock.Advance(50);
  clock.Advance(10);
  EXPECT_EQ(monotonic.NowMs(), 60);
  clock.Set({1999, 12, 31, 23, 59, 59});
  EXPECT_EQ(monotonic.NowMs(), 60);
  EXPECT_EQ(clock.Now(), (LocalDateTime{1999, 12, 31, 23, 59, 59}));
}

TEST(SteadyClock, NeverGoesBack) {
  SteadyClock clock;
  std::int64_t last = clock.NowMs();
  for (int i = 0; i < 1000; ++i) {
    const std::int64_t now = clock.NowMs();
    ASSERT_GE(now, last);
    last = now;
  }
}

TEST(Cp932CodePage, RoundTripsJapaneseAndRefusesWhatItCannotHold) {
  Cp932CodePage codePage;
  const auto bytes = codePage.FromUtf8("　ゲーム");
  ASSERT_TRUE(bytes);
  EXPECT_EQ(*bytes, std::string("\x81\x40\x83\x51\x81\x5B\x83\x80"));
  EXPECT_EQ(codePage.ToUtf8(*bytes), "　ゲーム");
  EXPECT_FALSE(codePage.FromUtf8("\xF0\x9F\x98\x80"));  // an emoji
  EXPECT_FALSE(codePage.ToUtf8("\x81"));                 // half a character
}

}  // namespace
}  // namespace pelmot
