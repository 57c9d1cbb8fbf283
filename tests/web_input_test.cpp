// The browser's input as the game takes it: touches read as the mouse, and
// the keyboard's codes mapped as the desktop maps its keys.
#include <gtest/gtest.h>

#include "platform/web/touch_gesture.h"
#include "platform/web/web_keys.h"

namespace pelmot {
namespace {

using Kind = InputEvent::Kind;

bool IsClick(const std::vector<InputEvent>& events, int button, int x, int y) {
  return events.size() == 2 && events[0].kind == Kind::kMouseDown && events[1].kind == Kind::kMouseUp &&
         events[0].button == button && events[1].button == button && events[0].x == x && events[0].y == y &&
         events[1].x == x && events[1].y == y;
}

TEST(TouchGesture, TapIsALeftClickWhereTheFingerLifts) {
  TouchGesture touch;
  const auto landed = touch.Start(400, 300, 1000);
  ASSERT_EQ(landed.size(), 1u);
  EXPECT_EQ(landed[0].kind, Kind::kMouseMove);  // the pointer's frames follow the finger
  EXPECT_TRUE(touch.Tick(1200).empty());
  touch.Move(405, 303);  // a finger trembles within the slop
  EXPECT_TRUE(IsClick(touch.End(405, 303, 1300), 1, 405, 303));
  EXPECT_FALSE(touch.Down());
}

TEST(TouchGesture, LongPressIsOneRightClickAndTheLiftClicksNothing) {
  TouchGesture touch;
  touch.Start(100, 80, 0);
  EXPECT_TRUE(touch.Tick(TouchGesture::kLongPressMs - 1).empty());
  EXPECT_TRUE(IsClick(touch.Tick(TouchGesture::kLongPressMs), 2, 100, 80));
  EXPECT_TRUE(touch.Tick(TouchGesture::kLongPressMs + 400).empty());  // once only
  EXPECT_TRUE(touch.End(100, 80, 2000).empty());
}

TEST(TouchGesture, LiftAfterTheLongPressTimeWithNoFrameBetweenStillRightClicks) {
  // A busy page may run no frame between the press's time and the lift.
  TouchGesture touch;
  touch.Start(10, 20, 0);
  EXPECT_TRUE(IsClick(touch.End(10, 20, 900), 2, 10, 20));
}

TEST(TouchGesture, SlideMovesThePointerAndClicksNothing) {
  TouchGesture touch;
  touch.Start(100, 100, 0);
  const auto moved = touch.Move(100 + TouchGesture::kSlopPixels + 1, 100);
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(moved[0].kind, Kind::kMouseMove);
  EXPECT_TRUE(touch.Tick(5000).empty());
  EXPECT_TRUE(touch.End(300, 100, 5000).empty());
}

TEST(TouchGesture, CancelledTouchClicksNothing) {
  TouchGesture touch;
  touch.Start(100, 100, 0);
  touch.Cancel();
  EXPECT_TRUE(touch.Tick(1000).empty());
  EXPECT_TRUE(touch.End(100, 100, 1000).empty());
  EXPECT_TRUE(touch.Move(120, 100).empty());
}

TEST(WebKeys, TheGameKeysMapAsOnTheDesktop) {
  EXPECT_EQ(VirtualKeyForCode("Enter"), kVkEnter);
  EXPECT_EQ(VirtualKeyForCode("NumpadEnter"), kVkEnter);
  EXPECT_EQ(VirtualKeyForCode("ShiftLeft"), kVkShift);
  EXPECT_EQ(VirtualKeyForCode("ShiftRight"), kVkShift);
  EXPECT_EQ(VirtualKeyForCode("F1"), kVkF1);
  EXPECT_EQ(VirtualKeyForCode("Escape"), kVkEscape);
  EXPECT_EQ(VirtualKeyForCode("Space"), kVkSpace);
  EXPECT_EQ(VirtualKeyForCode("ArrowLeft"), kVkLeft);
  EXPECT_EQ(VirtualKeyForCode("ArrowRight"), kVkRight);
  EXPECT_EQ(VirtualKeyForCode("Tab"), kVkTab);
  EXPECT_EQ(VirtualKeyForCode("KeyA"), 0);
  EXPECT_EQ(VirtualKeyForCode(""), 0);
  EXPECT_EQ(VirtualKeyForCode("F12"), 0);  // the browser keeps its own keys
}

}  // namespace
}  // namespace pelmot
