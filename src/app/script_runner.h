// The headless script runner: plays the game from a script of player input,
// one command per line.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace pelmot {

class GameHost;
class ScriptHooks;

struct ScriptCommand {
  int line = 0;
  std::string verb;
  std::vector<std::string> args;
};

// A script that cannot be parsed: "FILE:LINE: what was expected".
struct ScriptError {
  std::string message;
};

// Parses the whole script first, so a mistake anywhere stops it before any
// input reaches the game. Returns false and fills `error` on the first bad line.
bool ParseScript(std::istream& in, const std::string& name, std::vector<ScriptCommand>& commands, ScriptError& error);

struct ScriptIo {
  std::ostream& out;  // `state` lines
  std::ostream& err;  // failures
};

// Exit statuses of a headless run.
enum ScriptStatus {
  kScriptOk = 0,
  kScriptExpectFailed = 1,
  kScriptBad = 2,
  kScriptDataRootLocked = 3,  // another copy runs on the data root; nothing ran
  kScriptCannotStart = 4,     // no content folder, or a scenario with problems
};

// Runs parsed commands against a started game on the headless services,
// through its host as a window's events would come.
int RunScript(GameHost& host, ScriptHooks& hooks, const std::vector<ScriptCommand>& commands, const std::string& name,
              ScriptIo io);

}  // namespace pelmot
