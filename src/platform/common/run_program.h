// Running another program and waiting for it.
#pragma once

#include <string>
#include <vector>

#include "platform/services.h"

namespace pelmot {

// Runs `argv[0]` (found on PATH) with the arguments that follow, without a
// shell, and waits. True when it ran and exited with status 0; otherwise
// `error` says what went wrong.
bool RunProgram(const std::vector<std::string>& argv, std::string& error);

class SystemPrograms : public Programs {
 public:
  bool Run(const std::vector<std::string>& argv, std::string& error) override { return RunProgram(argv, error); }
};

}  // namespace pelmot
