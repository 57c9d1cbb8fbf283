// The machine's services without a window: the caller sets the clock, the
// answers of message boxes and the display modes, and can read back what the
// game asked for.
#pragma once

#include <deque>
#include <iosfwd>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/mci_player.h"
#include "platform/services.h"

namespace pelmot {

// A message box came up with no answer queued for it.
class UnansweredMessageBox : public std::runtime_error {
 public:
  explicit UnansweredMessageBox(const std::string& text)
      : std::runtime_error("a message box asked \"" + text + "\" and no answer was queued") {}
};

class HeadlessClock : public Clock {
 public:
  LocalDateTime Now() override;
  // From now on Now() returns this; without it, the real local time.
  void Set(const LocalDateTime& now) { fixed_ = now; }
 private:
  std::optional<LocalDateTime> fixed_;
};

// Without a window nobody would see a message box: given a stream to echo
// to, each box's text is written there as it comes up. A question takes the
// next queued answer at once; a message closes at once.
class HeadlessDialogs : public Dialogs {
 public:
  HeadlessDialogs() = default;
  explicit HeadlessDialogs(std::ostream& echo) : echo_(&echo) {}
  void AskYesNo(const std::string& text, std::function<void(bool yes)> answered) override;
  void ShowMessage(const std::string& text) override;
  void QueueAnswer(bool yes) { answers_.push_back(yes); }
  std::size_t PendingAnswers() const { return answers_.size(); }
  // The text of the last box of either kind; nothing before the first.
  const std::optional<std::string>& LastMessage() const { return last_; }
  std::vector<std::string> asked;     // every yes/no question, in order
  std::vector<std::string> messages;  // every plain message, in order
 private:
  void Echo(const char* kind, const std::string& text);
  std::ostream* echo_ = nullptr;
  std::optional<std::string> last_;
  std::deque<bool> answers_;
};

class HeadlessDisplay : public Display {
 public:
  DisplaySettings Current() override { return current; }
  void Change(const DisplaySettings& settings) override;
  int ScreenWidth() override { return current.width; }
  int ScreenHeight() override { return current.height; }
  int TwipsPerPixel() override { return twipsPerPixel; }
  void MoveWindow(int left, int top) override;

  DisplaySettings current{32, 1024, 768};
  int twipsPerPixel = 15;
  int windowLeft = 0, windowTop = 0;
  std::vector<DisplaySettings> changes;  // every mode applied, in order
};

// Records the multimedia commands. Given a message box to report to, it also
// carries them out without showing anything, so a movie that cannot be
// played is reported as the window reports it.
class HeadlessMultimedia : public Multimedia {
 public:
  HeadlessMultimedia();
  explicit HeadlessMultimedia(Dialogs& reportTo);
  ~HeadlessMultimedia() override;
  void SendString(const std::string& command) override;
  void Execute(const std::string& command) override;
  std::vector<std::string> commands;

 private:
  std::unique_ptr<MciPlayer> player_;
};

}  // namespace pelmot
