// The content folder watched with inotify: the folder itself and the
// folders below it that it is told of (not recursively). A thread of its own waits on the
// descriptor and wakes the window; it exists only while the watcher does,
// so a game that makes none (no --author) watches nothing.
#pragma once

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/content_watch.h"

namespace pelmot {

class InotifyContentWatcher : public ContentWatch {
 public:
  // `wake` runs on the watcher's thread after each change (say, to wake a
  // window's loop that sleeps); it may be empty.
  // `folders`: the folders within `contentDir` to watch ("" for itself); one
  // missing now is left out.
  InotifyContentWatcher(const std::string& contentDir, const std::vector<std::string>& folders,
                        std::function<void()> wake);
  ~InotifyContentWatcher() override;
  InotifyContentWatcher(const InotifyContentWatcher&) = delete;
  InotifyContentWatcher& operator=(const InotifyContentWatcher&) = delete;

  // False, with `error` set, when inotify could not be set up.
  bool Ok(std::string& error) const;
  ContentChanges Take() override;
  bool Wait() override;

 private:
  void Watch(const std::string& folder, const std::string& relative);
  void Run();
  void Note(int watch, const std::string& name);

  int inotify_ = -1;
  int stop_ = -1;  // an eventfd that ends the thread
  std::string error_;
  std::map<int, std::string> folders_;  // watch descriptor to folder, relative ("" the content folder)
  std::function<void()> wake_;
  std::mutex mutex_;
  std::condition_variable changed_;
  ContentChanges pending_;
  bool ended_ = false;
  std::thread thread_;
};

}  // namespace pelmot
