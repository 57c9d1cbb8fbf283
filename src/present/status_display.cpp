#include "present/status_display.h"

namespace pelmot {

using namespace status_sheet;

int BarWidth(int value) {
  if (value <= 0) return 0;
  if (value >= kBarMaxW) return kBarMaxW;
  return 5 * (value / 5);
}

std::optional<SheetPoint> DayTileSource(int dayNo) {
  const int d = dayNo - 2;
  if (d < 0) return std::nullopt;
  return SheetPoint{kTileW * (d / kTilesPerColumn), kTileH * (d % kTilesPerColumn)};
}

std::optional<int> DayStripSourceY(int dayNo) {
  if (dayNo < 2 || dayNo > 15) return std::nullopt;
  return kStripSourceY[static_cast<std::size_t>(dayNo - 2)];
}

int BackgroundIndex(int index, int condition) {
  static constexpr std::array<int, 8> kByCondition{5, 3, 6, 7, 9, 2, 4, 10};
  if (index != 0 || condition < 0 || condition > 7) return index;
  return kByCondition[static_cast<std::size_t>(condition)];
}

void PaintStatusDisplay(Surface& target, const Surface& sheet, const SaveRecord& values) {
  auto copy = [&](SheetPoint to, int w, int h, SheetPoint from) {
    target.BitBlt(to.x, to.y, w, h, sheet, from.x, from.y, Rop::SrcCopy);
  };
  if (auto tile = DayTileSource(values.DayNo)) copy(kTileAt, kTileW, kTileH, *tile);
  copy({kPanel.x, kPanel.y}, kPanel.w, kPanel.h, {kPanel.x, kPanel.y});
  copy(kConditionAt, kConditionStrip0.w, kConditionStrip0.h,
       {kConditionStrip0.x, kConditionStrip0.y + kConditionStrip0.h * values.Condition});
  for (std::size_t i = 0; i < kBarAt.size(); ++i) {
    const int w = BarWidth(values.Params[i]);
    if (w > 0) copy(kBarAt[i], w, kBarH, kBarSource[i]);
  }
  if (auto stripY = DayStripSourceY(values.DayNo)) copy(kStripAt, kStripW, kStripH, {kStripX, *stripY});
}

}  // namespace pelmot
