// Files whose later replacements are made on a thread of their own, so a
// write (two fsyncs and a rename) never holds up the game's thread. Every
// other call goes straight to the files underneath.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/services.h"

namespace pelmot {

class WriteBehindFiles : public Files {
 public:
  explicit WriteBehindFiles(Files& underneath);
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
  void Work();

  Files& files_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> waiting_;  // not begun yet, in the order asked
  bool writing_ = false;
  bool stopping_ = false;
  std::optional<LaterWriteFailure> failure_;
  std::thread worker_;  // last: starts once the rest is ready
};

}  // namespace pelmot
