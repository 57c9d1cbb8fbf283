// Headless scripts: the whole parse, which checks every line's arguments.
#include <sstream>

#include "app/script_runner.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(pelmot::fuzz::Bytes(data, size));
  std::vector<pelmot::ScriptCommand> commands;
  pelmot::ScriptError error;
  pelmot::ParseScript(in, "fuzz.txt", commands, error);
  return 0;
}
