// The machine's services without a window: the caller sets the clock, the
// answers of message boxes and the display modes, and can read back what the
// game asked for.
#pragma once

#include <cstdint>
#include <deque>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/common/mci_player.h"
#include "platform/script_hooks.h"
#include "platform/services.h"

namespace pelmot {

// The wall clock reads what it was set to (the real local time until
// then); the monotonic time starts at 0 and moves only when advanced.
class HeadlessClock : public Clock, public MonotonicClock {
 public:
  LocalDateTime Now() override;
  void Set(const LocalDateTime& now) { fixed_ = now; }
  std::int64_t NowMs() override { return monotonicMs_; }
  void Advance(std::int64_t ms) { monotonicMs_ += ms; }

 private:
  std::optional<LocalDateTime> fixed_;
  std::int64_t monotonicMs_ = 0;
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
  void SizeWindow(int multiple) override { windowMultiple = multiple; }

  DisplaySettings current{32, 1024, 768};
  int windowMultiple = 1;  // as SizeWindow asked last (0: fit the screen)
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

// What a script sets and reads, on the headless clock and message boxes.
class HeadlessScriptHooks : public ScriptHooks {
 public:
  HeadlessScriptHooks(HeadlessClock& clock, HeadlessDialogs& dialogs) : clock_(clock), dialogs_(dialogs) {}
  void SetNow(const LocalDateTime& now) override { clock_.Set(now); }
  void QueueAnswer(bool yes) override { dialogs_.QueueAnswer(yes); }
  const std::optional<std::string>& LastMessage() const override { return dialogs_.LastMessage(); }
  bool SavePicture(const std::vector<Colour>& pixels, int width, int height, const std::string& path) override;

 private:
  HeadlessClock& clock_;
  HeadlessDialogs& dialogs_;
};

}  // namespace pelmot
