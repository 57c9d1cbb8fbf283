// Lines read aloud by the desktop's speech service (speech-dispatcher).
// Nothing asks for the service until the first line; then a thread of its
// own connects and talks to it, so a slow or missing service never holds up
// the game. Only the newest request waits: a line that comes while another
// is still being handed over replaces the one waiting.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <thread>

namespace pelmot {

class Speech {
 public:
  // `socketPath` empty: the desktop's own service (as SPEECHD_ADDRESS names
  // it, or the user's default), started if it is not running yet. A path
  // names a service's socket, which is never started. A service that cannot
  // be reached is told once on `warnings`; the lines after it are dropped.
  explicit Speech(std::ostream& warnings, std::string socketPath = {});
  // Waits a moment for a service in the middle of an answer, then leaves it.
  ~Speech();
  Speech(const Speech&) = delete;
  Speech& operator=(const Speech&) = delete;

  // Cuts off what is being said and speaks `utf8` in `language` ("ja", "en").
  void Say(const std::string& utf8, const std::string& language);
  // Cuts off what is being said.
  void Stop();

 private:
  struct Worker;
  std::shared_ptr<Worker> worker_;  // shared with the thread, which may outlive this
  std::thread thread_;
};

}  // namespace pelmot
