// Input as the game takes it: the browser's touches read as the mouse, and
// the keys of the window, the browser and the scripts from one table.
#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/keys.h"
#include "platform/web/touch_gesture.h"

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

// Each name names one key, the desktop's names are SDL's own, and every key
// the game takes reaches it in the browser too.
TEST(Keys, EachNameReachesItsKeyOnTheDesktopInTheBrowserAndInScripts) {
  for (const KeyEntry& entry : Keys()) {
    ASSERT_FALSE(entry.desktop[0].empty()) << entry.key << ": every key is pressed on the desktop";
    // But F12, the author's overlay's: the browser has no --author and keeps F12.
    if (entry.key != kVkF12) {
      ASSERT_FALSE(entry.browser[0].empty()) << entry.key << ": every key is pressed in the browser";
    }
    for (std::string_view name : entry.desktop) {
      if (name.empty()) continue;
      EXPECT_EQ(KeyForDesktopName(name), entry.key) << name;
      EXPECT_EQ(SDL_GetKeyName(SDL_GetKeyFromName(std::string(name).c_str())), name) << "not SDL's name";
    }
    for (std::string_view code : entry.browser) {
      if (!code.empty()) {
        EXPECT_EQ(KeyForBrowserCode(code), entry.key) << code;
      }
    }
    if (!entry.script.empty()) {
      EXPECT_EQ(KeyForScriptName(entry.script), entry.key) << entry.script;
    }
  }
  EXPECT_EQ(KeyForDesktopName(SDL_GetKeyName(SDLK_RETURN)), kVkEnter);
  EXPECT_EQ(KeyForDesktopName(SDL_GetKeyName(SDLK_a)), kVkA);
  EXPECT_EQ(KeyForDesktopName(SDL_GetKeyName(SDLK_v)), kVkV);
  EXPECT_EQ(KeyForDesktopName(SDL_GetKeyName(SDLK_HOME)), kVkHome);
  EXPECT_EQ(KeyForDesktopName(SDL_GetKeyName(SDLK_END)), kVkEnd);
  EXPECT_EQ(KeyForDesktopName(SDL_GetKeyName(SDLK_F3)), kVkF3);
  EXPECT_EQ(KeyForDesktopName(SDL_GetKeyName(SDLK_s)), 0) << "S saves in the browser only";
  EXPECT_EQ(KeyForBrowserCode("KeyS"), kVkF5) << "the browser's quick save that never reloads the page";
  EXPECT_EQ(KeyForBrowserCode("ControlRight"), kVkControl);
  EXPECT_EQ(KeyForBrowserCode("F12"), 0) << "the browser keeps its own keys";
  EXPECT_EQ(KeyForBrowserCode(""), 0);
  EXPECT_EQ(KeyForScriptName("home"), kVkHome);
  EXPECT_EQ(KeyForScriptName("end"), kVkEnd);
  EXPECT_EQ(KeyForScriptName("f3"), kVkF3);
  EXPECT_FALSE(KeyForScriptName("shift")) << "Shift has a command of its own";
}

}  // namespace
}  // namespace pelmot
