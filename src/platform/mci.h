// The multimedia command strings the game sends, as the original system's
// command interface read them:
//   "open <file> alias <name> style child parent <window handle>"
//   "play <name> window"
//   "close <name>"
// File names may contain spaces; a name may also be written in double quotes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelmot {

struct MciCommand {
  enum class Verb { kOpen, kPlay, kClose };
  Verb verb = Verb::kOpen;
  std::string device;               // the file (open) or the device's name (play, close)
  std::string alias;                // open: the name it goes by; empty means the file itself
  std::optional<long long> parent;  // open: the window the movie plays inside
  bool inWindow = false;            // play: in the window rather than full screen
  bool wait = false;                // play: the sender waits for the end

  // The name the device is known by after it is opened.
  const std::string& Name() const { return alias.empty() ? device : alias; }
};

// Reads one command; nothing, with `error` set, for a command it does not know.
std::optional<MciCommand> ParseMciCommand(std::string_view text, std::string& error);

// The text of the message box shown when a movie cannot be played: the file
// first, then why.
std::string MovieFailureMessage(const std::string& file, const std::string& reason);

// Reasons for MovieFailureMessage.
std::string MissingFileReason();
std::string UnknownDeviceReason();

}  // namespace pelmot
