// Files whose later replacements are made on a thread of their own, so a
// write (two fsyncs and a rename) never holds up the game's thread. Every
// other call goes straight to the files underneath.
//
// A file replaced again soon after its last replacement waits out the rest
// of a short spacing, taking the newest contents when it goes: skipping
// asks for the seen flags and the read lines many times a second, and each
// write costs its fsyncs. Replacements still go in the order asked, and
// FinishLaterWrites (and the end) writes everything at once.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "platform/services.h"

namespace pelmot {

class WriteBehindFiles : public Files {
 public:
  static constexpr std::chrono::milliseconds kSameFileSpacing{500};

  explicit WriteBehindFiles(Files& underneath, std::chrono::milliseconds spacing = kSameFileSpacing);
  // Makes what is still waiting first.
  ~WriteBehindFiles() override;
  WriteBehindFiles(const WriteBehindFiles&) = delete;
  WriteBehindFiles& operator=(const WriteBehindFiles&) = delete;

  std::optional<std::string> ReadWhole(const std::string& path, std::size_t maxBytes, std::string& error) override {
    return files_.ReadWhole(path, maxBytes, error);
  }
  bool IsMissing(const std::string& path) override { return files_.IsMissing(path); }
  bool ReplaceWhole(const std::string& path, const std::string& bytes, std::string& error) override {
    return files_.ReplaceWhole(path, bytes, error);
  }
  void RemoveStaleTemporaries(const std::string& folder) override { files_.RemoveStaleTemporaries(folder); }
  bool EnsureExists(const std::string& path) override { return files_.EnsureExists(path); }
  bool MakePath(const std::string& path) override { return files_.MakePath(path); }
  bool IsFolder(const std::string& path) override { return files_.IsFolder(path); }
  bool MakeFolders(const std::string& path, std::string& error) override { return files_.MakeFolders(path, error); }
  void Remove(const std::string& path) override { files_.Remove(path); }
  FolderFault CheckDataFolder(const std::string& folder, std::size_t longestName) override {
    return files_.CheckDataFolder(folder, longestName);
  }

  void ReplaceWholeLater(const std::string& path, std::function<std::string(Files&)> contents) override;
  void FinishLaterWrites() override;
  std::optional<LaterWriteFailure> TakeLaterWriteFailure() override;

 private:
  struct Job {
    std::string path;
    std::function<std::string(Files&)> contents;
  };
  using Clock = std::chrono::steady_clock;
  void Work();
  // When the file may next be replaced.
  Clock::time_point DueAt(const std::string& path) const;

  Files& files_;
  std::chrono::milliseconds spacing_;
  std::map<std::string, Clock::time_point> lastWritten_;
  int finishing_ = 0;  // callers of FinishLaterWrites waiting: no spacing
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> waiting_;  // not begun yet, in the order asked
  bool writing_ = false;
  bool stopping_ = false;
  std::optional<LaterWriteFailure> failure_;
  std::thread worker_;  // last: starts once the rest is ready
};

}  // namespace pelmot
