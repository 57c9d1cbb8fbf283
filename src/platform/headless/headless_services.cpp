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

namespace pelmot {

HeadlessMultimedia::HeadlessMultimedia() = default;

HeadlessMultimedia::HeadlessMultimedia(Dialogs& reportTo)
    // No window is attached and nothing is ever drawn: the player only opens,
    // checks and closes. Its clock stands still.
    : player_(std::make_unique<MciPlayer>(reportTo, [] { return std::int64_t{0}; })) {}

HeadlessMultimedia::~HeadlessMultimedia() = default;

void HeadlessMultimedia::SendString(const std::string& command) {
  commands.push_back(command);
  if (player_) player_->SendString(command);
}

void HeadlessMultimedia::Execute(const std::string& command) {
  commands.push_back(command);
  if (player_) player_->Execute(command);
}

}  // namespace pelmot
