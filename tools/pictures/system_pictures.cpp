#include "system_pictures.h"

#include <string>

#include "present/status_display.h"

namespace pelmot::pictures {
namespace {

constexpr int kW = 800, kH = 600;

// Full-width digits for labels ("３").
std::string Wide(int value) {
  static const char* kDigits[10] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  std::string out;
  for (char c : std::to_string(value)) out += kDigits[c - '0'];
  return out;
}

Rect CellRect(int row, int column) { return {kCellX[column], kCellY[row], kCellW, kCellH}; }

bool CellUsed(int page, int row, int column) { return 9 * page + 3 * row + column < kAlbumEntries; }

// ---- status sheet ------------------------------------------------------

namespace sheet = status_sheet;

constexpr Colour kSheetBack = Rgb(20, 24, 40);
constexpr Colour kPanelFill = Rgb(28, 36, 70);
constexpr Colour kPanelBorder = Rgb(170, 180, 220);
constexpr Colour kBarOutline = Rgb(10, 12, 24);
constexpr int kBarBodyTop = 8, kBarBodyH = 24;

void DrawDayTiles(Surface& s, Labeller& label) {
  for (int d = 0; d < 14; ++d) {
    const Rect tile{sheet::kTileW * (d / sheet::kTilesPerColumn), sheet::kTileH * (d % sheet::kTilesPerColumn),
                    sheet::kTileW, sheet::kTileH};
    Bevel(s, tile, Hsv(200 + d * 11, 0.55, 0.55));
    label.At(s, tile.x + 10, tile.y + 8, "DAY " + std::to_string(d + 1), 18, Rgb(255, 240, 180));
    label.Centred(s, {tile.x, tile.y + 30, tile.w, 50}, "第" + std::to_string(d + 1) + "日", 36, kWhite);
  }
}

void DrawBars(Surface& s) {
  static const Colour kBarColours[3][2] = {{Rgb(255, 150, 150), Rgb(200, 40, 60)},
                                           {Rgb(150, 230, 150), Rgb(40, 150, 60)},
                                           {Rgb(150, 190, 255), Rgb(40, 80, 200)}};
  for (std::size_t i = 0; i < sheet::kBarSource.size(); ++i) {
    const auto [x, y] = sheet::kBarSource[i];
    // The margins match the panel, so a bar of any width sits in its track.
    s.FillRect(x, y, sheet::kBarMaxW, sheet::kBarH, kPanelFill);
    const Rect body{x, y + kBarBodyTop, sheet::kBarMaxW, kBarBodyH};
    VerticalGradient(s, body, kBarColours[i][0], kBarColours[i][1]);
    Frame(s, body, 1, kBarOutline);
  }
}

void DrawConditionStrips(Surface& s, Labeller& label) {
  const Rect first{sheet::kConditionStrip0.x, sheet::kConditionStrip0.y, sheet::kConditionStrip0.w,
                   sheet::kConditionStrip0.h};
  for (int c = 0; c < 8; ++c) {
    const Rect strip{first.x, first.y + first.h * c, first.w, first.h};
    // The top two rows of strip 0 are the panel's bottom edge on the sheet,
    // so every strip carries that edge.
    s.FillRect(strip.x, strip.y, strip.w, 2, kPanelBorder);
    Bevel(s, {strip.x, strip.y + 2, strip.w, strip.h - 2}, Hsv(c * 45, 0.6, 0.65));
    label.Centred(s, {strip.x, strip.y + 2, strip.w, strip.h - 2}, "状態" + Wide(c), 20, kWhite);
  }
}

void DrawDayStrips(Surface& s, Labeller& label) {
  for (int day = 2; day <= 15; ++day) {
    const Rect strip{sheet::kStripX, sheet::kStripSourceY[static_cast<std::size_t>(day - 2)], sheet::kStripW,
                     sheet::kStripH};
    Bevel(s, strip, day == 15 ? Rgb(170, 60, 60) : Rgb(70, 90, 130));
    const std::string text = day == 15 ? "最終日" : "あと" + std::to_string(15 - day) + "日";
    label.Centred(s, strip, text, 15, kWhite);
  }
}

void DrawPanel(Surface& s, Labeller& label) {
  const Rect panel{sheet::kPanel.x, sheet::kPanel.y, sheet::kPanel.w, sheet::kPanel.h};
  s.FillRect(panel.x, panel.y, panel.w, panel.h, kPanelFill);
  Frame(s, panel, 2, kPanelBorder);
  static const char* kNames[3] = {"能力１", "能力２", "能力３"};
  for (std::size_t i = 0; i < sheet::kBarAt.size(); ++i) {
    const auto [x, y] = sheet::kBarAt[i];
    label.At(s, panel.x + 12, y + 10, kNames[i], 20, kWhite);
    const Rect track{x, y + kBarBodyTop, sheet::kBarMaxW, kBarBodyH};
    s.FillRect(track.x, track.y, track.w, track.h, Rgb(12, 16, 34));
    Frame(s, track, 1, kBarOutline);
  }
  label.At(s, panel.x + 12, sheet::kConditionAt.y + 9, "調子", 20, kWhite);
  label.At(s, panel.x + 12, sheet::kStripAt.y + 6, "日数", 20, kWhite);
}

void DrawSkipButton(Surface& s, Labeller& label) {
  const Rect button{sheet::kSkipButton.x, sheet::kSkipButton.y, sheet::kSkipButton.w, sheet::kSkipButton.h};
  Bevel(s, button, Rgb(60, 70, 130));
  label.Vertical(s, button, "スキップ", 14, kWhite);
}

// ---- album -------------------------------------------------------------

void DrawPageButton(Surface& s, Rect r, const char* text, bool usable, Labeller& label) {
  Bevel(s, r, usable ? Rgb(150, 110, 60) : Rgb(80, 70, 70));
  label.Centred(s, r, text, 22, usable ? kWhite : Rgb(150, 150, 150));
}

}  // namespace

int AlbumEntryFirstPicture(int entry) {
  static constexpr std::array<int, 36> kFirst{19, 22, 23, 24, 26, 27, 28, 29, 30,  33,  34,  35,
                                              36, 37, 39, 43, 44, 45, 46, 48, 51,  54,  57,  67,
                                              73, 77, 85, 89, 93, 95, 96, 98, 100, 101, 102, 103};
  if (entry < static_cast<int>(kFirst.size())) return kFirst[static_cast<std::size_t>(entry)];
  return 106 + (entry - 36);  // entries 36 ... 43: one picture each
}

// A mesh: every other pixel black. ANDed into a page it halves the
// picture's light evenly, so the picture stays recognisable under text.
Surface DrawDimmingMask() {
  Surface s(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) s.SetImagePixel(x, y, (x + y) % 2 == 0 ? kBlack : kWhite);
  return s;
}

Surface DrawAlbumBackground(int page, Labeller& label) {
  Surface s(kW, kH);
  VerticalGradient(s, {0, 0, kW, kH}, Rgb(60, 24, 40), Rgb(24, 10, 30));
  label.At(s, 24, 14, "アルバム", 28, Rgb(255, 230, 200));
  label.At(s, 660, 16, Wide(page + 1) + "／" + Wide(kAlbumPages), 24, Rgb(255, 230, 200));
  DrawPageButton(s, kPageButtons[0], "前", page > 0, label);
  DrawPageButton(s, kPageButtons[1], "戻", true, label);
  DrawPageButton(s, kPageButtons[2], "次", page < kAlbumPages - 1, label);
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column) {
      if (!CellUsed(page, row, column)) continue;
      const Rect cell = CellRect(row, column);
      Frame(s, {cell.x - 2, cell.y - 2, cell.w + 4, cell.h + 4}, 2, Rgb(200, 170, 120));
      s.FillRect(cell.x, cell.y, cell.w, cell.h, Rgb(40, 30, 46));
      label.Centred(s, cell, "？", 64, Rgb(120, 100, 130));
    }
  return s;
}

Surface DrawAlbumSheet(int page, const std::map<int, Surface>& thumbnails) {
  Surface s(kW, kH);
  s.FillRect(0, 0, kW, kH, Rgb(16, 16, 16));
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column) {
      if (!CellUsed(page, row, column)) continue;
      const int first = AlbumEntryFirstPicture(9 * page + 3 * row + column);
      const Surface& thumbnail = thumbnails.at(first);
      const Rect cell = CellRect(row, column);
      s.BitBlt(cell.x, cell.y, cell.w, cell.h, thumbnail, 0, 0, Rop::SrcCopy);
    }
  return s;
}

Surface DrawStatusSheet(Labeller& label) {
  Surface s(kW, kH);
  s.FillRect(0, 0, kW, kH, kSheetBack);
  DrawDayTiles(s, label);
  DrawBars(s);
  DrawDayStrips(s, label);
  DrawConditionStrips(s, label);
  DrawPanel(s, label);  // over the top edge of condition strip 0
  DrawSkipButton(s, label);
  return s;
}

}  // namespace pelmot::pictures
