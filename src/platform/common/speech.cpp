#include "platform/common/speech.h"

#include <libspeechd.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <ostream>

#include "platform/common/lazy_library.h"

namespace pelmot {
namespace {

// Only a player who turns speech on talks to the speech service.
LazyLibrary libspeechd{PELMOT_LIBSPEECHD_SONAME};
PELMOT_LAZY_FUNCTION(libspeechd, spd_cancel);
PELMOT_LAZY_FUNCTION(libspeechd, spd_close);
PELMOT_LAZY_FUNCTION(libspeechd, spd_open2);
PELMOT_LAZY_FUNCTION(libspeechd, spd_say);
PELMOT_LAZY_FUNCTION(libspeechd, spd_set_language);

constexpr const char* kClientName = "pelmot";
// How long the game, ending, waits for a service that does not answer.
constexpr std::chrono::milliseconds kEndingWait{500};

struct Request {
  bool speak = false;  // false: only stop
  std::string text, language;
};

// A service that goes away must not end the game: with SIGPIPE blocked,
// writing to its socket fails on this thread instead of raising it. The
// signal such a write left pending is taken before it is unblocked.
void BlockBrokenPipes(bool block) {
  sigset_t pipe;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  if (!block) {
    const timespec none{};
    while (sigtimedwait(&pipe, nullptr, &none) == SIGPIPE) {
    }
  }
  pthread_sigmask(block ? SIG_BLOCK : SIG_UNBLOCK, &pipe, nullptr);
}

// Opens a connection to the service; null with the reason in `error`.
SPDConnection* OpenService(const std::string& socketPath, std::string& error) {
  if (!libspeechd.Loads(error)) return nullptr;
  char* reason = nullptr;
  SPDConnection* spd = nullptr;
  if (socketPath.empty()) {
    spd = spd_open2(kClientName, "main", nullptr, SPD_MODE_SINGLE, nullptr, 1, &reason);
  } else {
    std::string path = socketPath;
    SPDConnectionAddress address{};
    address.method = SPD_METHOD_UNIX_SOCKET;
    address.unix_socket_name = path.data();
    spd = spd_open2(kClientName, "main", nullptr, SPD_MODE_SINGLE, &address, 0, &reason);
  }
  if (!spd) error = reason ? reason : "no reason given";
  std::free(reason);
  return spd;
}

// One connection to the service, used by the worker thread alone.
struct Connection {
  SPDConnection* spd = nullptr;
  std::string language;  // what the service was last told to speak

  ~Connection() { Close(); }
  // The library closes the stream (and with it the socket) when a read
  // finds the connection broken.
  bool Broken() const { return spd && !spd->stream; }
  void Close() {
    if (!spd) return;
    // The library would close the socket again, which by then another
    // thread may have been given.
    if (Broken()) spd->socket = -1;
    spd_close(spd);
    spd = nullptr;
    language.clear();
  }
};

}  // namespace

struct Speech::Worker {
  Worker(std::ostream& warningsTo, std::string path) : warnings(warningsTo), socketPath(std::move(path)) {}

  std::ostream& warnings;
  const std::string socketPath;
  std::mutex mutex;
  std::condition_variable wake;
  std::optional<Request> waiting;
  bool closing = false;
  bool unavailable = false;
  bool ended = false;
  int socket = -1;  // the open connection's, shut down to end an exchange when closing

  // False when the request is dropped.
  bool Post(Request request, bool started) {
    std::lock_guard lock(mutex);
    if (unavailable || closing || (!request.speak && !started)) return false;
    waiting = std::move(request);
    wake.notify_one();
    return true;
  }

  // True when the thread has ended within `wait`.
  bool Close(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex);
    closing = true;
    if (socket >= 0) shutdown(socket, SHUT_RDWR);
    wake.notify_all();
    return wake.wait_for(lock, wait, [this] { return ended; });
  }

  void Serve() {
    BlockBrokenPipes(true);
    {
      Connection connection;
      while (auto request = Next()) {
        if (Carry(connection, *request)) continue;
        if (!Forget()) break;
        // The service went away (it may have been restarted): one new
        // connection for this request.
        connection.Close();
        Carry(connection, *request);
      }
      Forget();
    }
    std::lock_guard lock(mutex);
    ended = true;
    wake.notify_all();
  }

  std::optional<Request> Next() {
    std::unique_lock lock(mutex);
    wake.wait(lock, [this] { return closing || waiting; });
    if (closing) return std::nullopt;
    std::optional<Request> request = std::move(waiting);
    waiting.reset();
    return request;
  }

  // Forgets the connection's socket before it is closed; false when the
  // game is ending.
  bool Forget() {
    std::lock_guard lock(mutex);
    socket = -1;
    return !closing;
  }

  // Hands one request to the service, connecting first; false when the
  // connection broke. A request the service refuses is dropped.
  bool Carry(Connection& connection, const Request& request) {
    if (!connection.spd) {
      if (!request.speak) return true;  // nothing to cut off
      if (!Connect(connection)) return true;
    }
    SPDConnection* spd = connection.spd;
    if (request.speak && connection.language != request.language) {
      if (spd_set_language(spd, request.language.c_str()) == 0) connection.language = request.language;
    }
    spd_cancel(spd);
    if (request.speak) spd_say(spd, SPD_TEXT, request.text.c_str());
    return !connection.Broken();
  }

  bool Connect(Connection& connection) {
    std::string error;
    BlockBrokenPipes(false);  // a service started now must not inherit the blocked signal
    connection.spd = OpenService(socketPath, error);
    BlockBrokenPipes(true);
    std::lock_guard lock(mutex);
    if (connection.spd) {
      socket = connection.spd->socket;
      if (closing) shutdown(socket, SHUT_RDWR);
      return true;
    }
    unavailable = true;
    if (!closing) {
      warnings << "pelmot: warning: cannot reach the speech service, so nothing is read aloud: " << error << std::endl;
    }
    return false;
  }
};

Speech::Speech(std::ostream& warnings, std::string socketPath)
    : worker_(std::make_shared<Worker>(warnings, std::move(socketPath))) {}

Speech::~Speech() {
  if (!thread_.joinable()) return;
  // A thread still waiting for the service's answer is left to end with the
  // process.
  if (worker_->Close(kEndingWait))
    thread_.join();
  else
    thread_.detach();
}

void Speech::Say(const std::string& utf8, const std::string& language) {
  if (worker_->Post({true, utf8, language}, thread_.joinable()) && !thread_.joinable())
    thread_ = std::thread([worker = worker_] { worker->Serve(); });
}

void Speech::Stop() { worker_->Post({}, thread_.joinable()); }

}  // namespace pelmot
