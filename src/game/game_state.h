// The one record of everything the game knows at run time.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <type_traits>

#include "platform/services.h"
#include "platform/surface.h"

namespace pelmot {

// The part of the state a save slot holds: fifteen signed 16-bit words in
// file order. The order and the reserved words are part of the file format.
struct SaveRecord {
  std::int16_t ResumeMode = 0;  // 1 scene play, 5 waiting for a choice
  std::int16_t SavedScene = 0;
  std::int16_t SceneStep = 0;
  std::int16_t SavedPic = 0;
  std::int16_t Reserved4 = 0;
  std::int16_t Reserved5 = 0;
  std::int16_t LastChoice = 0;
  std::int16_t Reserved7 = 0;
  std::int16_t Reserved8 = 0;
  std::int16_t DayNo = 0;
  std::array<std::int16_t, 4> Params{};
  std::int16_t Condition = 0;
  bool operator==(const SaveRecord&) const = default;
};
static_assert(sizeof(SaveRecord) == 30, "a slot file is exactly 30 bytes");
static_assert(std::is_standard_layout_v<SaveRecord> && std::is_trivially_copyable_v<SaveRecord>);

inline constexpr int kCgSeenSize = 136;
inline constexpr int kEndingIndex = 135;  // CgSeen[135] is EndingNo
inline constexpr std::int16_t kNoPicture = 200;

// SysPic: the dimming mask, the album pages (each a page picture and the
// sheet its lit thumbnails come from) and the status sheet.
inline constexpr int kDimmingMask = 0;
inline constexpr int kStatusSheet = 11;
constexpr int AlbumPagePicture(int page) { return 2 * page + 1; }
constexpr int AlbumSheetPicture(int page) { return 2 * page + 2; }

struct GameState {
  std::int16_t FlowMode = 0;
  std::array<std::int16_t, 8> StepNo{};
  std::int16_t SceneNo = 0;
  bool ClickAdvances = false;
  std::int16_t ChoiceNo = 0;
  std::int16_t HoverNo = 0;
  std::array<std::string, 13> MenuItems{};
  std::int16_t OptionCount = 0;
  std::int16_t LineNo = 0;
  std::int16_t KeptLineNo = 0;
  std::string PendingText;
  std::int16_t ShownPic = 0;
  std::int16_t TitleChoice = 0;
  std::int16_t AlbumPage = 0;
  std::int16_t SlideNo = 0;
  std::int16_t MenuKind = 0;
  std::int16_t MenuSlot = 0;
  std::array<std::string, 11> SaveDate{};  // UTF-8 inside; Shift_JIS on disk
  std::array<std::uint8_t, kCgSeenSize> CgSeen{};
  std::string WinDir;     // the data root standing in for the Windows folder
  std::string MoviePath;  // empty when no movie is open
  // The dimming mask is loaded at start-up; the status sheet when a
  // background or the skip button first needs it (Game::statusSheetDue),
  // and the album pages 1 ... 10 when the album first shows them (empty
  // until then).
  std::array<Surface, 12> SysPic = {Surface(),     Surface(0, 0), Surface(0, 0), Surface(0, 0),
                                    Surface(0, 0), Surface(0, 0), Surface(0, 0), Surface(0, 0),
                                    Surface(0, 0), Surface(0, 0), Surface(0, 0), Surface()};
  DisplaySettings StartDisplay{};
  ::pelmot::SaveRecord SaveRecord{};

  std::uint8_t& EndingNo() { return CgSeen[kEndingIndex]; }
  std::uint8_t EndingNo() const { return CgSeen[kEndingIndex]; }
};

}  // namespace pelmot
