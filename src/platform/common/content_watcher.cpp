#include "platform/common/content_watcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace pelmot {
namespace {

// A file is whole once it is closed after writing or renamed into place;
// the writes before that would show a half-written file.
constexpr std::uint32_t kWholeFileEvents = IN_CLOSE_WRITE | IN_MOVED_TO;

}  // namespace

InotifyContentWatcher::InotifyContentWatcher(const std::string& contentDir, const std::vector<std::string>& folders,
                                             std::function<void()> wake)
    : wake_(std::move(wake)) {
  inotify_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  stop_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (inotify_ < 0 || stop_ < 0) {
    error_ = std::string("cannot watch the content folder: ") + std::strerror(errno);
    return;
  }
  for (const std::string& folder : folders) Watch(folder.empty() ? contentDir : contentDir + "/" + folder, folder);
  if (folders_.empty()) return;  // error_ says why
  thread_ = std::thread([this] { Run(); });
}

InotifyContentWatcher::~InotifyContentWatcher() {
  if (thread_.joinable()) {
    const std::uint64_t one = 1;
    if (::write(stop_, &one, sizeof one) < 0) {
      // The eventfd cannot be full: its counter holds far more than one.
    }
    thread_.join();
  }
  if (inotify_ >= 0) ::close(inotify_);
  if (stop_ >= 0) ::close(stop_);
}

void InotifyContentWatcher::Watch(const std::string& folder, const std::string& relative) {
  const int watch = inotify_add_watch(inotify_, folder.c_str(), kWholeFileEvents | IN_ONLYDIR);
  if (watch < 0) {
    if (relative.empty()) error_ = "cannot watch " + folder + ": " + std::strerror(errno);
    return;
  }
  folders_[watch] = relative;
}

bool InotifyContentWatcher::Ok(std::string& error) const {
  error = error_;
  return error_.empty();
}

void InotifyContentWatcher::Note(int watch, const std::string& name) {
  const auto folder = folders_.find(watch);
  if (folder == folders_.end() || name.empty()) return;
  const std::string file = folder->second.empty() ? name : folder->second + "/" + name;
  std::vector<std::string>& files = pending_.files;
  if (std::find(files.begin(), files.end(), file) == files.end()) files.push_back(file);
}

void InotifyContentWatcher::Run() {
  alignas(inotify_event) char buffer[16 * 1024];
  pollfd fds[2] = {{inotify_, POLLIN, 0}, {stop_, POLLIN, 0}};
  for (;;) {
    if (::poll(fds, 2, -1) < 0 && errno != EINTR) break;
    if (fds[1].revents) break;
    if (!(fds[0].revents & POLLIN)) continue;
    bool noted = false;
    for (;;) {
      const ssize_t length = ::read(inotify_, buffer, sizeof buffer);
      if (length <= 0) break;
      std::lock_guard lock(mutex_);
      for (ssize_t at = 0; at < length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if (event->len > 0 && !(event->mask & IN_ISDIR)) Note(event->wd, event->name);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
      noted = true;
    }
    if (!noted) continue;
    changed_.notify_all();
    if (wake_) wake_();
  }
  std::lock_guard lock(mutex_);
  ended_ = true;
  changed_.notify_all();
}

ContentChanges InotifyContentWatcher::Take() {
  std::lock_guard lock(mutex_);
  return std::exchange(pending_, {});
}

bool InotifyContentWatcher::Wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return ended_ || !thread_.joinable() || pending_.Any(); });
  return pending_.Any();
}

}  // namespace pelmot
