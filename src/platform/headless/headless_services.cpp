#include "platform/headless/headless_services.h"

#include <ostream>

#include "platform/common/clock.h"
#include "platform/common/picload.h"

namespace pelmot {

LocalDateTime HeadlessClock::Now() {
  if (fixed_) return *fixed_;
  return SystemLocalTime();
}

// "pelmot: message: TEXT", with the box's further lines indented below.
void HeadlessDialogs::Echo(const char* kind, const std::string& text) {
  last_ = text;
  if (!echo_) return;
  *echo_ << "pelmot: " << kind << ": ";
  for (char c : text) {
    *echo_ << c;
    if (c == '\n') *echo_ << "  ";
  }
  *echo_ << std::endl;
}

void HeadlessDialogs::AskYesNo(const std::string& text, std::function<void(bool yes)> answered) {
  asked.push_back(text);
  Echo("question", text);
  if (answers_.empty()) throw UnansweredMessageBox(text);
  const bool yes = answers_.front();
  answers_.pop_front();
  if (answered) answered(yes);
}

void HeadlessDialogs::ShowMessage(const std::string& text) {
  messages.push_back(text);
  Echo("message", text);
}

bool HeadlessScriptHooks::SavePicture(const std::vector<Colour>& pixels, int width, int height,
                                      const std::string& path) {
  return SavePng(pixels, width, height, path);
}

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
