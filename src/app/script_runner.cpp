#include "app/script_runner.h"

#include <charconv>
#include <cstdint>
#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>

#include "app/game_host.h"
#include "game/game.h"
#include "flow/input.h"
#include "flow/pick.h"
#include "persist/stamps.h"
#include "platform/gamepad.h"
#include "platform/script_hooks.h"
#include "app/state_json.h"
#include "shell/screen.h"

namespace pelmot {
namespace {

std::optional<int> ToInt(const std::string& text) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The keys a script can press, by name.
const std::map<std::string, int>& KeysByName() {
  static const std::map<std::string, int> keys = {
      {"enter", kVkEnter}, {"f1", kVkF1},       {"escape", kVkEscape}, {"space", kVkSpace},
      {"tab", kVkTab},     {"up", kVkUp},       {"down", kVkDown},     {"left", kVkLeft},
      {"right", kVkRight}, {"pageup", kVkPageUp}, {"pagedown", kVkPageDown}, {"a", kVkA},
      {"f2", kVkF2},       {"f5", kVkF5},       {"f9", kVkF9}};
  return keys;
}

std::string KeyNames() {
  std::string names;
  for (const auto& [name, key] : KeysByName()) names += (names.empty() ? "" : ", ") + name;
  return names;
}

std::optional<LocalDateTime> ToDateTime(const std::string& date, const std::string& time) {
  LocalDateTime t;
  char dash1, dash2, colon1, colon2;
  std::istringstream d(date), h(time);
  if (!(d >> t.year >> dash1 >> t.month >> dash2 >> t.day) || dash1 != '-' || dash2 != '-' ||
      !d.eof())
    return std::nullopt;
  if (!(h >> t.hour >> colon1 >> t.minute >> colon2 >> t.second) || colon1 != ':' || colon2 != ':' ||
      !h.eof())
    return std::nullopt;
  if (!InStampRange(t)) return std::nullopt;  // the game's stamps hold no other date
  return t;
}

// What each verb takes; empty when the arguments are right.
std::string CheckArguments(const ScriptCommand& c) {
  const auto& a = c.args;
  const std::string& v = c.verb;
  if (v == "click" || v == "rclick" || v == "move") {
    if (a.size() != 2 || !ToInt(a[0]) || !ToInt(a[1])) return v + " X Y, with whole numbers X and Y";
  } else if (v == "pick") {
    if (a.size() != 1 || !ToInt(a[0]) || *ToInt(a[0]) < 0) return "pick N, with a row number N of 0 or more";
  } else if (v == "key") {
    if (a.size() != 1 || !KeysByName().count(a[0])) return "key NAME, with NAME one of " + KeyNames();
  } else if (v == "pad") {
    if (a.empty() || a.size() > 2 || !PadButtonNamed(a[0]) || (a.size() == 2 && a[1] != "down" && a[1] != "up"))
      return std::string("pad BUTTON, with BUTTON one of ") + PadButtonNames() + ", and down or up after it if you like";
  } else if (v == "shift" || v == "ctrl") {
    if (a.size() != 1 || (a[0] != "down" && a[0] != "up")) return v + " down or " + v + " up";
  } else if (v == "wheel") {
    if (a.empty() || a.size() > 2 || (a[0] != "up" && a[0] != "down") ||
        (a.size() == 2 && (!ToInt(a[1]) || *ToInt(a[1]) < 1)))
      return "wheel up or wheel down, with a count N of 1 or more notches after it if you like";
  } else if (v == "tick") {
    if (a.size() > 1 || (a.size() == 1 && (!ToInt(a[0]) || *ToInt(a[0]) < 1)))
      return "tick or tick N, with a count N of 1 or more";
  } else if (v == "wait") {
    if (a.size() != 1 || !ToInt(a[0]) || *ToInt(a[0]) < 0) return "wait MS, with a count MS of 0 or more milliseconds";
  } else if (v == "answer") {
    if (a.size() != 1 || (a[0] != "yes" && a[0] != "no")) return "answer yes or answer no";
  } else if (v == "close" || v == "state") {
    if (!a.empty()) return v + " with nothing after it";
  } else if (v == "now") {
    if (a.size() != 2 || !ToDateTime(a[0], a[1])) return "now YYYY-MM-DD HH:MM:SS, a real date in the years 1 ... 9999";
  } else if (v == "shot") {
    if (a.size() != 1) return "shot FILE";
  } else if (v == "expect") {
    if (a.size() != 2) return "expect FIELD VALUE";
  } else {
    return "a command (click, rclick, move, pick, key, pad, shift, ctrl, wheel, tick, wait, answer, close, now, "
           "shot, state, expect), not \"" + v + "\"";
  }
  return "";
}

// The line without its comment: a "#" at the start of a word outside a
// quoted string starts one, so "shot a#b.png" and `expect PendingText "#"`
// keep theirs.
std::string WithoutComment(const std::string& text) {
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted && c == '\\') ++i;
    else if (c == '"') quoted = !quoted;
    else if (c == '#' && !quoted && (i == 0 || text[i - 1] == ' ' || text[i - 1] == '\t'))
      return text.substr(0, i);
  }
  return text;
}

// Splits a line into words; the value of `expect` is the rest of the line.
ScriptCommand SplitLine(const std::string& text, int line) {
  ScriptCommand c;
  c.line = line;
  std::istringstream in(text);
  in >> c.verb;
  if (c.verb == "expect") {
    std::string field;
    if (in >> field) c.args.push_back(field);
    std::string rest;
    std::getline(in, rest);
    const auto begin = rest.find_first_not_of(" \t");
    const auto end = rest.find_last_not_of(" \t\r");
    if (begin != std::string::npos) c.args.push_back(rest.substr(begin, end - begin + 1));
    return c;
  }
  std::string word;
  while (in >> word) c.args.push_back(word);
  return c;
}

class Runner {
 public:
  Runner(GameHost& host, ScriptHooks& hooks, const std::string& name, ScriptIo io)
      : game_(host.game()), hooks_(hooks), name_(name), io_(io), host_(host) {}

  int Run(const std::vector<ScriptCommand>& commands) {
    for (const ScriptCommand& c : commands) {
      if (game_.quitRequested && IsInput(c.verb))
        return Fail(c, kScriptBad, "the game has ended; no more input can reach it");
      int status = kScriptOk;
      try {
        status = Execute(c);
      } catch (const UnansweredMessageBox& e) {
        return Fail(c, kScriptBad, std::string(e.what()) + " (add \"answer yes\" or \"answer no\" before this line)");
      }
      if (status != kScriptOk) return status;
      AfterEvent(game_);
    }
    return kScriptOk;
  }

 private:
  static bool IsInput(const std::string& verb) {
    return verb != "state" && verb != "expect" && verb != "shot" && verb != "now" && verb != "answer";
  }

  int Fail(const ScriptCommand& c, int status, const std::string& message) {
    io_.err << name_ << ":" << c.line << ": " << message << "\n";
    return status;
  }

  int Execute(const ScriptCommand& c) {
    const auto& a = c.args;
    const std::string& v = c.verb;
    if (v == "click") Mouse(InputEvent::Kind::kMouseDown, kLeftButton, *ToInt(a[0]), *ToInt(a[1]));
    else if (v == "rclick") Mouse(InputEvent::Kind::kMouseDown, kRightButton, *ToInt(a[0]), *ToInt(a[1]));
    else if (v == "move") Mouse(InputEvent::Kind::kMouseMove, 0, *ToInt(a[0]), *ToInt(a[1]));
    else if (v == "pick") return Pick(c, *ToInt(a[0]));
    else if (v == "key") PressKey(KeysByName().at(a[0]));
    else if (v == "pad") Pad(*PadButtonNamed(a[0]), a.size() == 2 ? a[1] : "");
    else if (v == "shift") Shift(a[0] == "down");
    else if (v == "ctrl") Ctrl(a[0] == "down");
    else if (v == "wheel") Wheel(a[0] == "up", a.size() == 2 ? *ToInt(a[1]) : 1);
    else if (v == "tick") Tick(a.empty() ? 1 : *ToInt(a[0]));
    else if (v == "wait") Wait(*ToInt(a[0]));
    else if (v == "answer") hooks_.QueueAnswer(a[0] == "yes");
    else if (v == "close") host_.OnEvent(InputEvent{InputEvent::Kind::kCloseRequested});
    else if (v == "now") hooks_.SetNow(*ToDateTime(a[0], a[1]));
    else if (v == "shot") return Shot(c, a[0]);
    else if (v == "state") io_.out << StateJson(host_, hooks_.LastMessage()) << "\n";
    else if (v == "expect") return Expect(c, a[0], a[1]);
    return kScriptOk;
  }

  int Pick(const ScriptCommand& c, int row) {
    if (game_.state.ClickAdvances || !game_.form.MainPic.enabled)
      return Fail(c, kScriptBad, "pick needs a choice or menu on screen, and none waits for a pick");
    std::optional<Point> p = PickPoint(game_, row);
    if (!p) return Fail(c, kScriptBad, "row " + std::to_string(row) + " of the list on screen has no item");
    const MainForm& f = game_.form;
    Mouse(InputEvent::Kind::kMouseMove, 0, f.MainPic.left + p->x, f.MainPic.top + p->y);
    Mouse(InputEvent::Kind::kMouseDown, kLeftButton, f.MainPic.left + p->x, f.MainPic.top + p->y);
    return kScriptOk;
  }

  void Mouse(InputEvent::Kind kind, int button, int x, int y) {
    InputEvent e{kind};
    e.button = button;
    e.x = x;
    e.y = y;
    host_.OnEvent(e);
  }

  void Key(InputEvent::Kind kind, int key, int shift, bool repeat = false) {
    InputEvent e{kind};
    e.key = key;
    e.shift = shift;
    e.ctrl = ctrlHeld_ ? 1 : 0;
    e.repeat = repeat ? 1 : 0;
    host_.OnEvent(e);
  }

  void Ctrl(bool down) {
    ctrlHeld_ = down;
    Key(down ? InputEvent::Kind::kKeyDown : InputEvent::Kind::kKeyUp, kVkControl, shiftHeld_ ? 1 : 0);
  }

  // One event a notch, as a desktop wheel sends them.
  void Wheel(bool up, int notches) {
    for (int i = 0; i < notches && !game_.quitRequested; ++i) {
      InputEvent e{InputEvent::Kind::kWheel};
      e.wheel = up ? 1 : -1;
      e.shift = shiftHeld_ ? 1 : 0;
      e.ctrl = ctrlHeld_ ? 1 : 0;
      host_.OnEvent(e);
    }
  }

  void PressKey(int key) {
    Key(InputEvent::Kind::kKeyDown, key, 0);
    Key(InputEvent::Kind::kKeyUp, key, 0);
  }

  // A button pressed and let go, or only pressed or let go (`how`: "down",
  // "up"); the right trigger is a held Shift, repeated before each tick.
  void Pad(PadButton button, const std::string& how) {
    for (const bool down : {true, false}) {
      if (how == (down ? "up" : "down")) continue;
      if (button == PadButton::kRightTrigger) Shift(down);
      else Key(down ? InputEvent::Kind::kKeyDown : InputEvent::Kind::kKeyUp, PadButtonKey(button), shiftHeld_ ? 1 : 0);
    }
  }

  void Shift(bool down) {
    shiftHeld_ = down;
    if (down) Key(InputEvent::Kind::kKeyDown, kKeyShift, 1);
    else Key(InputEvent::Kind::kKeyUp, kKeyShift, 0);
  }

  // Each tick is preceded by the repeated key-down of a held Shift or Ctrl,
  // as the window repeats them; a tick while the timer is off does nothing
  // and ends a counted run.
  void Tick(int count) {
    for (int i = 0; i < count && !game_.quitRequested; ++i) {
      if (shiftHeld_) Key(InputEvent::Kind::kKeyDown, kKeyShift, 1, true);
      if (ctrlHeld_) Key(InputEvent::Kind::kKeyDown, kVkControl, shiftHeld_ ? 1 : 0, true);
      if (!game_.form.SkipTimer.enabled) return;
      host_.FireTimer(TimerName::Skip);
    }
  }

  // The monotonic clock moves on by `ms`; each timer fires at each of its
  // due times on the way, in order, as the window's pump would fire them.
  void Wait(int ms) {
    const std::int64_t until = nowMs_ + ms;
    while (!game_.quitRequested) {
      const auto next = host_.MillisToNextWork(nowMs_);
      if (!next || nowMs_ + *next > until) break;
      nowMs_ += *next;
      host_.OnFrame(nowMs_);
    }
    nowMs_ = until;
  }

  int Shot(const ScriptCommand& c, const std::string& file) {
    std::vector<Colour> pixels(static_cast<std::size_t>(game_.form.clientWidth) * game_.form.clientHeight);
    host_.Compose(pixels);
    if (!hooks_.SavePicture(pixels, game_.form.clientWidth, game_.form.clientHeight, file))
      return Fail(c, kScriptBad, "cannot write the picture " + file);
    return kScriptOk;
  }

  int Expect(const ScriptCommand& c, const std::string& field, const std::string& wanted) {
    for (const auto& [name, value] : StateFields(host_, hooks_.LastMessage())) {
      if (name != field) continue;
      if (value == wanted) return kScriptOk;
      return Fail(c, kScriptExpectFailed, "expected " + field + " " + wanted + ", but it is " + value);
    }
    return Fail(c, kScriptBad, "no field named " + field + " (see `state` for the names)");
  }

  Game& game_;
  ScriptHooks& hooks_;
  const std::string& name_;
  ScriptIo io_;
  GameHost& host_;
  std::int64_t nowMs_ = 0;  // the run's monotonic clock, moved on by `wait` only
  bool shiftHeld_ = false;
  bool ctrlHeld_ = false;
};

}  // namespace

bool ParseScript(std::istream& in, const std::string& name, std::vector<ScriptCommand>& commands,
                 ScriptError& error) {
  std::string text;
  int line = 0;
  while (std::getline(in, text)) {
    ++line;
    text = WithoutComment(text);
    if (text.find_first_not_of(" \t\r") == std::string::npos) continue;
    ScriptCommand c = SplitLine(text, line);
    std::string expected = CheckArguments(c);
    if (!expected.empty()) {
      error.message = name + ":" + std::to_string(line) + ": expected " + expected;
      return false;
    }
    commands.push_back(std::move(c));
  }
  return true;
}

int RunScript(GameHost& host, ScriptHooks& hooks, const std::vector<ScriptCommand>& commands,
              const std::string& name, ScriptIo io) {
  return Runner(host, hooks, name, io).Run(commands);
}

}  // namespace pelmot
