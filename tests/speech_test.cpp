// Speech against a stand-in for speech-dispatcher on a socket of the test's
// own: what the game asks is what the service is told, a service that went
// away is reconnected to, and a missing one is told once.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/common/speech.h"

namespace pelmot {
namespace {

using Log = std::vector<std::string>;

// Answers each command as the service does and logs it in capitals; the
// text of a message is logged as "said: TEXT". Takes one client at a time.
class FakeSpeechService {
 public:
  explicit FakeSpeechService(const std::string& path) {
    listener_ = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof(address.sun_path) - 1);
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(listener_, 4) != 0)
      ADD_FAILURE() << "cannot listen on " << path;
    thread_ = std::thread([this] { Serve(); });
  }
  ~FakeSpeechService() {
    {
      std::lock_guard lock(mutex_);
      closing_ = true;
      if (client_ >= 0) shutdown(client_, SHUT_RDWR);
    }
    shutdown(listener_, SHUT_RDWR);
    thread_.join();
    close(listener_);
  }

  // The log once `done` holds for it (or after ten seconds, when the test
  // fails on what is missing).
  Log Await(const std::function<bool(const Log&)>& done) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(10), [&] { return done(log_); });
    return log_;
  }
  Log AwaitSaid(const std::string& text) {
    return Await([&](const Log& log) { return std::find(log.begin(), log.end(), "said: " + text) != log.end(); });
  }
  // Ends the client's connection, as a service that was restarted does.
  void DropClient() {
    std::lock_guard lock(mutex_);
    if (client_ >= 0) shutdown(client_, SHUT_RDWR);
  }

 private:
  void Serve() {
    while (true) {
      const int client = accept(listener_, nullptr, nullptr);
      if (client < 0) return;
      {
        std::lock_guard lock(mutex_);
        if (closing_) shutdown(client, SHUT_RDWR);
        client_ = client;
      }
      Talk(client);
      std::lock_guard lock(mutex_);
      client_ = -1;
      close(client);
    }
  }
  void Talk(int client) {
    std::string pending, text;
    bool receiving = false;
    char bytes[512];
    ssize_t got;
    while ((got = read(client, bytes, sizeof bytes)) > 0) {
      pending.append(bytes, static_cast<size_t>(got));
      for (size_t end; (end = pending.find("\r\n")) != std::string::npos; pending.erase(0, end + 2)) {
        const std::string line = pending.substr(0, end);
        std::string answer = "200 OK\r\n";
        if (receiving && line != ".") {
          text += (text.empty() ? "" : "\n") + line;
          continue;
        }
        if (receiving) {
          Add("said: " + text);
          text.clear();
          receiving = false;
          answer = "225-1\r\n225 OK MESSAGE QUEUED\r\n";
        } else {
          Add(Upper(line));
          receiving = Upper(line) == "SPEAK";
          if (receiving) answer = "230 OK RECEIVING DATA\r\n";
        }
        if (send(client, answer.data(), answer.size(), MSG_NOSIGNAL) < 0) return;
      }
    }
  }
  // The protocol's commands are the same in either case.
  static std::string Upper(std::string line) {
    for (char& c : line) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return line;
  }
  void Add(const std::string& entry) {
    std::lock_guard lock(mutex_);
    log_.push_back(entry);
    changed_.notify_all();
  }

  int listener_ = -1;
  int client_ = -1;
  bool closing_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  Log log_;
  std::thread thread_;
};

// Text written on another thread, read when it has enough lines.
class WatchedText : public std::streambuf {
 public:
  // The text once it has `lines` lines (or after ten seconds).
  std::string AwaitLines(std::ptrdiff_t lines) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(10),
                      [&] { return std::count(text_.begin(), text_.end(), '\n') >= lines; });
    return text_;
  }

 protected:
  int overflow(int c) override {
    if (c == traits_type::eof()) return c;
    const char ch = static_cast<char>(c);
    xsputn(&ch, 1);
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    std::lock_guard lock(mutex_);
    text_.append(s, static_cast<size_t>(n));
    changed_.notify_all();
    return n;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string text_;
};

// A folder of the test's own for the service's socket.
struct SocketFolder {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("pelmot_speech_" + std::to_string(getpid()) + "_" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
  SocketFolder() { std::filesystem::create_directories(folder); }
  ~SocketFolder() { std::filesystem::remove_all(folder); }
  std::string Socket() const { return (folder / "speechd.sock").string(); }
};

bool IsClientName(const std::string& line) {
  return line.starts_with("SET SELF CLIENT_NAME ") && line.find(":PELMOT:") != std::string::npos;
}

TEST(Speech, EachLineCutsOffTheLastAndIsSpokenInItsLanguage) {
  SocketFolder folder;
  FakeSpeechService service(folder.Socket());
  std::ostringstream warnings;
  Log log;
  {
    Speech speech(warnings, folder.Socket());
    speech.Say("一行目です。", "ja");
    service.AwaitSaid("一行目です。");
    speech.Say("The second line.", "en");
    service.AwaitSaid("The second line.");
    speech.Say("The third line.", "en");
    service.AwaitSaid("The third line.");
    speech.Stop();
    log = service.Await([](const Log& l) { return !l.empty() && l.back() == "CANCEL SELF"; });
  }
  ASSERT_FALSE(log.empty());
  EXPECT_TRUE(IsClientName(log.front())) << log.front();
  const Log expected{
      "SET SELF LANGUAGE JA",
      "CANCEL SELF",
      "SET SELF PRIORITY TEXT",
      "SPEAK",
      "said: 一行目です。",
      "SET SELF LANGUAGE EN",
      "CANCEL SELF",
      "SET SELF PRIORITY TEXT",
      "SPEAK",
      "said: The second line.",
      "CANCEL SELF",
      "SET SELF PRIORITY TEXT",
      "SPEAK",
      "said: The third line.",
      "CANCEL SELF",
  };
  EXPECT_EQ(Log(log.begin() + 1, log.end()), expected);
  EXPECT_EQ(warnings.str(), "");
}

// The service may be restarted while the game runs; writing to the old
// connection must neither end the game nor lose the line.
TEST(Speech, AServiceThatWentAwayIsConnectedToAgain) {
  SocketFolder folder;
  FakeSpeechService service(folder.Socket());
  std::ostringstream warnings;
  Speech speech(warnings, folder.Socket());
  speech.Say("前の行。", "ja");
  service.AwaitSaid("前の行。");
  service.DropClient();
  speech.Say("次の行。", "ja");
  const Log log = service.AwaitSaid("次の行。");
  EXPECT_EQ(std::count_if(log.begin(), log.end(), IsClientName), 2);
  EXPECT_EQ(std::count(log.begin(), log.end(), "SET SELF LANGUAGE JA"), 2) << "a new connection is told the language";
  EXPECT_EQ(warnings.str(), "");
}

TEST(Speech, AServiceThatCannotBeReachedIsToldOnce) {
  SocketFolder folder;
  WatchedText warnings;
  std::ostream out(&warnings);
  {
    Speech speech(out, (folder.folder / "nobody" / "speechd.sock").string());
    speech.Say("一", "ja");
    warnings.AwaitLines(1);
    speech.Say("二", "ja");
    speech.Stop();
    speech.Say("三", "en");
  }
  const std::string told = warnings.AwaitLines(1);
  EXPECT_TRUE(told.starts_with("pelmot: warning: cannot reach the speech service")) << told;
  EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
}

// A service that takes the connection but never answers does not keep the
// game from ending.
TEST(Speech, AServiceThatNeverAnswersDoesNotHoldUpTheEnd) {
  SocketFolder folder;
  const int mute = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  folder.Socket().copy(address.sun_path, sizeof(address.sun_path) - 1);
  ASSERT_EQ(bind(mute, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  ASSERT_EQ(listen(mute, 4), 0);
  WatchedText warnings;
  std::ostream out(&warnings);
  int client = -1;
  {
    Speech speech(out, folder.Socket());
    speech.Say("聞こえない行。", "ja");
    client = accept(mute, nullptr, nullptr);
    char first = 0;  // the connection's first command: it waits for the answer now
    ASSERT_EQ(read(client, &first, 1), 1);
  }
  close(client);
  close(mute);
  EXPECT_EQ(warnings.AwaitLines(0), "");
}

}  // namespace
}  // namespace pelmot
