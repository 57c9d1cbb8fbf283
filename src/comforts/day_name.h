// The day a DayNo stands for, as the comforts name it: 1 is the prologue,
// 2 ... 15 the fourteen days.
#pragma once

#include <string>

#include "platform/ui_text.h"

namespace pelmot {

inline std::string DayName(int dayNo) {
  return dayNo <= 1 ? Ui(UiText::story_prologue) : UiFormat(UiText::story_day, {std::to_string(dayNo - 1)});
}

}  // namespace pelmot
