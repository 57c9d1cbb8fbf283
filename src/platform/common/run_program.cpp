#include "platform/common/run_program.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace pelmot {

bool RunProgram(const std::vector<std::string>& argv, std::string& error) {
  if (argv.empty()) {
    error = "no program to run";
    return false;
  }
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int failed = posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ);
  if (failed != 0) {
    error = "cannot run " + argv[0] + ": " + std::strerror(failed);
    return false;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno == EINTR) continue;
    error = "lost track of " + argv[0] + ": " + std::strerror(errno);
    return false;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  error = argv[0] + (WIFEXITED(status) ? " failed with status " + std::to_string(WEXITSTATUS(status))
                                       : std::string(" was stopped by a signal"));
  return false;
}

}  // namespace pelmot
