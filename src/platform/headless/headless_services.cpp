#include "platform/headless/headless_services.h"

#include "platform/clock.h"

namespace pelmot {

LocalDateTime HeadlessClock::Now() {
  if (fixed_) return *fixed_;
  return SystemLocalTime();
}

bool HeadlessDialogs::AskYesNo(const std::string& text) {
  asked.push_back(text);
  if (answers_.empty()) throw UnansweredMessageBox(text);
  bool yes = answers_.front();
  answers_.pop_front();
  return yes;
}

void HeadlessDialogs::ShowMessage(const std::string& text) { messages.push_back(text); }

void HeadlessDisplay::Change(const DisplaySettings& settings) {
  current = settings;
  changes.push_back(settings);
}

void HeadlessDisplay::MoveWindow(int left, int top) {
  windowLeft = left;
  windowTop = top;
}

}  // namespace pelmot
