// The gamepad's buttons as keys, and the right trigger as a held Shift.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "platform/gamepad.h"
#include "platform/keys.h"

namespace pelmot {
namespace {

TEST(PadInput, ButtonsAreTheKeysTheyStandFor) {
  PadInput pad;
  const InputEvent a = pad.Button(PadButton::kA, true);
  EXPECT_EQ(a.kind, InputEvent::Kind::kKeyDown);
  EXPECT_EQ(a.key, kVkEnter);
  EXPECT_EQ(pad.Button(PadButton::kB, false).kind, InputEvent::Kind::kKeyUp);
  EXPECT_EQ(pad.Button(PadButton::kB, false).key, kVkEscape);
  EXPECT_EQ(PadButtonKey(PadButton::kLeftShoulder), kVkPageUp);
  EXPECT_EQ(PadButtonKey(PadButton::kDown), kVkDown);
  EXPECT_EQ(pad.Button(PadButton::kY, true).key, kVkHome) << "back to the previous choice";
  EXPECT_EQ(pad.Button(PadButton::kRightShoulder, true).key, kVkEnd) << "on to the next choice";
  EXPECT_EQ(pad.Button(PadButton::kBack, true).key, kVkF3) << "the route chart";
  EXPECT_EQ(PadButtonNamed("righttrigger"), PadButton::kRightTrigger);
  EXPECT_FALSE(PadButtonNamed("start"));
}

// Every name a script's message offers is taken, and every button stands for
// a key of the key table, which the game takes.
TEST(PadInput, EveryNamedButtonIsAKeyTheGameTakes) {
  std::istringstream names(PadButtonNames());
  std::string name;
  int count = 0;
  while (std::getline(names >> std::ws, name, ',')) {
    const auto button = PadButtonNamed(name);
    ASSERT_TRUE(button) << name;
    const int key = PadButtonKey(*button);
    const auto keys = Keys();
    EXPECT_TRUE(std::any_of(keys.begin(), keys.end(), [&](const KeyEntry& e) { return e.key == key; })) << name;
    ++count;
  }
  EXPECT_EQ(count, 11);
}

TEST(PadInput, TheTriggerHoldsShiftWithoutFlickeringAroundOneValue) {
  PadInput pad;
  EXPECT_FALSE(pad.Trigger(15000, 0)) << "a light touch is not a pull";
  auto down = pad.Trigger(30000, 100);
  ASSERT_TRUE(down);
  EXPECT_EQ(down->kind, InputEvent::Kind::kKeyDown);
  EXPECT_EQ(down->key, kVkShift);
  EXPECT_EQ(down->shift, 1);
  EXPECT_FALSE(pad.Trigger(15000, 150)) << "half way back it is still held";
  EXPECT_EQ(pad.Button(PadButton::kA, true).shift, 1) << "other buttons carry the held Shift";
  auto up = pad.Trigger(1000, 200);
  ASSERT_TRUE(up);
  EXPECT_EQ(up->kind, InputEvent::Kind::kKeyUp);
  EXPECT_FALSE(pad.TriggerHeld());
}

TEST(PadInput, AHeldTriggerRepeatsShiftAsAHeldKeyDoes) {
  PadInput pad;
  EXPECT_FALSE(pad.MillisToNextRepeat(0));
  pad.Trigger(32767, 1000);
  EXPECT_EQ(pad.MillisToNextRepeat(1000), kKeyRepeatDelayMs);
  EXPECT_FALSE(pad.TakeRepeat(1000 + kKeyRepeatDelayMs - 1));
  auto repeat = pad.TakeRepeat(1000 + kKeyRepeatDelayMs);
  ASSERT_TRUE(repeat);
  EXPECT_EQ(repeat->key, kVkShift);
  EXPECT_TRUE(repeat->repeat) << "marked as a repeat, so the switches ignore it";
  EXPECT_EQ(pad.MillisToNextRepeat(1000 + kKeyRepeatDelayMs), kKeyRepeatIntervalMs);
  EXPECT_TRUE(pad.TakeRepeat(5000)) << "late, one repeat and no burst";
  EXPECT_FALSE(pad.TakeRepeat(5000));
  pad.Trigger(0, 5001);
  EXPECT_FALSE(pad.TakeRepeat(10000));
}

}  // namespace
}  // namespace pelmot
