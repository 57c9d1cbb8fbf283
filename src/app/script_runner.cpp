#include "app/script_runner.h"

#include "comforts/language.h"
#include "comforts/settings.h"
#include "platform/catalog.h"

#include <charconv>
#include <cstdint>
#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>

#include "app/game_host.h"
#include "app/live_reload.h"
#include "app/state_json.h"
#include "app/warp.h"
#include "flow/input.h"
#include "flow/pick.h"
#include "game/game.h"
#include "persist/stamps.h"
#include "platform/gamepad.h"
#include "platform/keys.h"
#include "platform/script_hooks.h"
#include "shell/screen.h"

namespace pelmot {
namespace {

std::optional<int> ToInt(const std::string& text) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<LocalDateTime> ToDateTime(const std::string& date, const std::string& time) {
  LocalDateTime t;
  char dash1, dash2, colon1, colon2;
  std::istringstream d(date), h(time);
  if (!(d >> t.year >> dash1 >> t.month >> dash2 >> t.day) || dash1 != '-' || dash2 != '-' || !d.eof())
    return std::nullopt;
  if (!(h >> t.hour >> colon1 >> t.minute >> colon2 >> t.second) || colon1 != ':' || colon2 != ':' || !h.eof())
    return std::nullopt;
  if (!InStampRange(t)) return std::nullopt;  // the game's stamps hold no other date
  return t;
}

using Args = std::vector<std::string>;

bool IsCount(const std::string& text, int least) { return ToInt(text) && *ToInt(text) >= least; }

// The argument checks of the verbs: each returns what was expected, empty
// when the arguments are right.
std::string PointArgs(const std::string& v, const Args& a) {
  if (a.size() != 2 || !ToInt(a[0]) || !ToInt(a[1])) return v + " X Y, with whole numbers X and Y";
  return "";
}

std::string DownOrUpArg(const std::string& v, const Args& a) {
  if (a.size() != 1 || (a[0] != "down" && a[0] != "up")) return v + " down or " + v + " up";
  return "";
}

std::string NoArgs(const std::string& v, const Args& a) {
  if (!a.empty()) return v + " with nothing after it";
  return "";
}

std::string PickArgs(const std::string&, const Args& a) {
  if (a.size() != 1 || !IsCount(a[0], 0)) return "pick N, with a row number N of 0 or more";
  return "";
}

std::string KeyArgs(const std::string&, const Args& a) {
  if (a.size() != 1 || !KeyForScriptName(a[0])) return "key NAME, with NAME one of " + ScriptKeyNames();
  return "";
}

std::string PadArgs(const std::string&, const Args& a) {
  if (a.empty() || a.size() > 2 || !PadButtonNamed(a[0]) || (a.size() == 2 && a[1] != "down" && a[1] != "up"))
    return std::string("pad BUTTON, with BUTTON one of ") + PadButtonNames() + ", and down or up after it if you like";
  return "";
}

std::string WheelArgs(const std::string&, const Args& a) {
  if (a.empty() || a.size() > 2 || (a[0] != "up" && a[0] != "down") || (a.size() == 2 && !IsCount(a[1], 1)))
    return "wheel up or wheel down, with a count N of 1 or more notches after it if you like";
  return "";
}

std::string TickArgs(const std::string&, const Args& a) {
  if (a.size() > 1 || (a.size() == 1 && !IsCount(a[0], 1))) return "tick or tick N, with a count N of 1 or more";
  return "";
}

std::string WaitArgs(const std::string&, const Args& a) {
  if (a.size() != 1 || !IsCount(a[0], 0)) return "wait MS, with a count MS of 0 or more milliseconds";
  return "";
}

std::string AnswerArgs(const std::string&, const Args& a) {
  if (a.size() != 1 || (a[0] != "yes" && a[0] != "no")) return "answer yes or answer no";
  return "";
}

std::string NowArgs(const std::string&, const Args& a) {
  if (a.size() != 2 || !ToDateTime(a[0], a[1])) return "now YYYY-MM-DD HH:MM:SS, a real date in the years 1 ... 9999";
  return "";
}

std::string LangArgs(const std::string&, const Args& a) {
  if (a.size() != 1 || !IsCatalogCode(a[0])) return "lang CODE, a language code such as en or ja";
  return "";
}

std::string ShotArgs(const std::string&, const Args& a) {
  if (a.size() != 1) return "shot FILE";
  return "";
}

std::string WarpArgs(const std::string&, const Args& a) {
  if (a.empty() || a.size() > 3) return "warp SCENE, SCENE:sSTEP or SCENE:LANE:sSTEP";
  return "";
}

std::string ExpectArgs(const std::string&, const Args& a) {
  if (a.size() != 2) return "expect FIELD VALUE";
  return "";
}

// The line without its comment: a "#" at the start of a word outside a
// quoted string starts one, so "shot a#b.png" and `expect PendingText "#"`
// keep theirs.
std::string WithoutComment(const std::string& text) {
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted && c == '\\')
      ++i;
    else if (c == '"')
      quoted = !quoted;
    else if (c == '#' && !quoted && (i == 0 || text[i - 1] == ' ' || text[i - 1] == '\t'))
      return text.substr(0, i);
  }
  return text;
}

class Runner {
 public:
  Runner(GameHost& host, ScriptHooks& hooks, const std::string& name, ScriptIo io)
      : game_(host.game()), hooks_(hooks), name_(name), io_(io), host_(host) {}

  int Run(const std::vector<ScriptCommand>& commands);

  // What each verb does, with the arguments ParseScript has checked.
  int OnClick(const ScriptCommand& c) { return MouseAt(InputEvent::Kind::kMouseDown, kLeftButton, c.args); }
  int OnRightClick(const ScriptCommand& c) { return MouseAt(InputEvent::Kind::kMouseDown, kRightButton, c.args); }
  int OnMove(const ScriptCommand& c) { return MouseAt(InputEvent::Kind::kMouseMove, 0, c.args); }
  int OnPick(const ScriptCommand& c) { return Pick(c, *ToInt(c.args[0])); }
  int OnKey(const ScriptCommand& c) {
    PressKey(*KeyForScriptName(c.args[0]));
    return kScriptOk;
  }
  int OnPad(const ScriptCommand& c) {
    Pad(*PadButtonNamed(c.args[0]), c.args.size() == 2 ? c.args[1] : "");
    return kScriptOk;
  }
  int OnShift(const ScriptCommand& c) {
    Shift(c.args[0] == "down");
    return kScriptOk;
  }
  int OnCtrl(const ScriptCommand& c) {
    Ctrl(c.args[0] == "down");
    return kScriptOk;
  }
  int OnWheel(const ScriptCommand& c) {
    Wheel(c.args[0] == "up", c.args.size() == 2 ? *ToInt(c.args[1]) : 1);
    return kScriptOk;
  }
  int OnTick(const ScriptCommand& c) {
    Tick(c.args.empty() ? 1 : *ToInt(c.args[0]));
    return kScriptOk;
  }
  int OnWait(const ScriptCommand& c) {
    Wait(*ToInt(c.args[0]));
    return kScriptOk;
  }
  int OnAnswer(const ScriptCommand& c) {
    hooks_.QueueAnswer(c.args[0] == "yes");
    return kScriptOk;
  }
  int OnClose(const ScriptCommand&) {
    host_.OnEvent(InputEvent{InputEvent::Kind::kCloseRequested});
    return kScriptOk;
  }
  // As the settings row: shown at once and remembered.
  int OnLang(const ScriptCommand& c) {
    Game& game = host_.game();
    ComfortState& comforts = host_.comforts().State();
    std::string problem;
    if (!SwitchLanguage(game, comforts, c.args[0], problem)) return Fail(c, kScriptBad, problem);
    comforts.settings.language = c.args[0] == kOriginalLanguage ? "" : c.args[0];
    SaveSettings(game, comforts.settings);
    return kScriptOk;
  }
  // What an author's watch does on a change, for the whole content folder.
  int OnReload(const ScriptCommand&) {
    ReloadContent(host_, ContentChanges::Everything());
    return kScriptOk;
  }
  int OnNow(const ScriptCommand& c) {
    hooks_.SetNow(*ToDateTime(c.args[0], c.args[1]));
    return kScriptOk;
  }
  int OnShot(const ScriptCommand& c) { return Shot(c, c.args[0]); }
  int OnState(const ScriptCommand&) {
    io_.out << StateJson(host_, hooks_.LastMessage()) << "\n";
    return kScriptOk;
  }
  int OnExpect(const ScriptCommand& c) { return Expect(c, c.args[0], c.args[1]); }
  // The route goes to the failures' stream, which the route's lines never
  // look like.
  int OnWarp(const ScriptCommand& c) {
    std::string problem;
    std::string place;
    for (const std::string& word : c.args) place += (place.empty() ? "" : " ") + word;
    if (!Warp(host_, place, io_.err, problem)) return Fail(c, kScriptBad, "cannot warp: " + problem);
    return kScriptOk;
  }

 private:
  int Fail(const ScriptCommand& c, int status, const std::string& message) {
    io_.err << name_ << ":" << c.line << ": " << message << "\n";
    return status;
  }

  int Pick(const ScriptCommand& c, int row) {
    RouteChart& chart = host_.comforts().State().routeChart;
    if (chart.open) {
      const std::optional<Point> p = RouteChartPickPoint(chart, row);
      if (!p) return Fail(c, kScriptBad, "the route chart has no reached choice " + std::to_string(row));
      Mouse(InputEvent::Kind::kMouseMove, 0, p->x, p->y);
      Mouse(InputEvent::Kind::kMouseDown, kLeftButton, p->x, p->y);
      return kScriptOk;
    }
    if (game_.state.ClickAdvances || !game_.form.MainPic.enabled)
      return Fail(c, kScriptBad, "pick needs a choice or menu on screen, and none waits for a pick");
    std::optional<Point> p = PickPoint(game_, row);
    if (!p) return Fail(c, kScriptBad, "row " + std::to_string(row) + " of the list on screen has no item");
    const MainForm& f = game_.form;
    Mouse(InputEvent::Kind::kMouseMove, 0, f.MainPic.left + p->x, f.MainPic.top + p->y);
    Mouse(InputEvent::Kind::kMouseDown, kLeftButton, f.MainPic.left + p->x, f.MainPic.top + p->y);
    return kScriptOk;
  }

  int MouseAt(InputEvent::Kind kind, int button, const Args& xy) {
    Mouse(kind, button, *ToInt(xy[0]), *ToInt(xy[1]));
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
      if (button == PadButton::kRightTrigger)
        Shift(down);
      else
        Key(down ? InputEvent::Kind::kKeyDown : InputEvent::Kind::kKeyUp, PadButtonKey(button), shiftHeld_ ? 1 : 0);
    }
  }

  void Shift(bool down) {
    shiftHeld_ = down;
    if (down)
      Key(InputEvent::Kind::kKeyDown, kKeyShift, 1);
    else
      Key(InputEvent::Kind::kKeyUp, kKeyShift, 0);
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

// The script's verbs: what each takes, what it does, and whether it is
// player input (refused once the game has ended). The order is the order the
// "expected a command" message lists them in.
struct Verb {
  std::string_view name;
  std::string (*expected)(const std::string& verb, const Args& args);  // empty when the arguments fit
  int (Runner::*run)(const ScriptCommand& c);
  bool input;
  bool valueToEnd = false;  // the second argument is the rest of the line, spaces and all
};

constexpr bool kInput = true;
constexpr bool kNotInput = false;
constexpr bool kValueToEnd = true;

const Verb kVerbs[] = {
    {"click", PointArgs, &Runner::OnClick, kInput},   {"rclick", PointArgs, &Runner::OnRightClick, kInput},
    {"move", PointArgs, &Runner::OnMove, kInput},     {"pick", PickArgs, &Runner::OnPick, kInput},
    {"key", KeyArgs, &Runner::OnKey, kInput},         {"pad", PadArgs, &Runner::OnPad, kInput},
    {"shift", DownOrUpArg, &Runner::OnShift, kInput}, {"ctrl", DownOrUpArg, &Runner::OnCtrl, kInput},
    {"wheel", WheelArgs, &Runner::OnWheel, kInput},   {"tick", TickArgs, &Runner::OnTick, kInput},
    {"wait", WaitArgs, &Runner::OnWait, kInput},      {"answer", AnswerArgs, &Runner::OnAnswer, kNotInput},
    {"close", NoArgs, &Runner::OnClose, kInput},      {"now", NowArgs, &Runner::OnNow, kNotInput},
    {"lang", LangArgs, &Runner::OnLang, kInput},      {"shot", ShotArgs, &Runner::OnShot, kNotInput},
    {"state", NoArgs, &Runner::OnState, kNotInput},   {"expect", ExpectArgs, &Runner::OnExpect, kNotInput, kValueToEnd},
    {"reload", NoArgs, &Runner::OnReload, kInput},
    {"warp", WarpArgs, &Runner::OnWarp, kInput},
};

const Verb* FindVerb(const std::string& name) {
  for (const Verb& verb : kVerbs)
    if (verb.name == name) return &verb;
  return nullptr;
}

std::string VerbNames() {
  std::string names;
  for (const Verb& verb : kVerbs) names += (names.empty() ? "" : ", ") + std::string(verb.name);
  return names;
}

// What the line's arguments should have been; empty when they are right.
std::string CheckArguments(const ScriptCommand& c) {
  const Verb* verb = FindVerb(c.verb);
  if (!verb) return "a command (" + VerbNames() + "), not \"" + c.verb + "\"";
  return verb->expected(c.verb, c.args);
}

// Splits a line into words; a verb whose value runs to the end of the line
// (`expect`) takes the rest of the line after its first word whole.
ScriptCommand SplitLine(const std::string& text, int line) {
  ScriptCommand c;
  c.line = line;
  std::istringstream in(text);
  in >> c.verb;
  const Verb* verb = FindVerb(c.verb);
  if (verb && verb->valueToEnd) {
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

int Runner::Run(const std::vector<ScriptCommand>& commands) {
  for (const ScriptCommand& c : commands) {
    const Verb* verb = FindVerb(c.verb);
    if (!verb) return Fail(c, kScriptBad, "expected " + CheckArguments(c));  // not from ParseScript
    if (game_.quitRequested && verb->input)
      return Fail(c, kScriptBad, "the game has ended; no more input can reach it");
    int status = kScriptOk;
    try {
      status = (this->*verb->run)(c);
    } catch (const UnansweredMessageBox& e) {
      return Fail(c, kScriptBad, std::string(e.what()) + " (add \"answer yes\" or \"answer no\" before this line)");
    }
    if (status != kScriptOk) return status;
    AfterEvent(game_);
  }
  return kScriptOk;
}

}  // namespace

bool ParseScript(std::istream& in, const std::string& name, std::vector<ScriptCommand>& commands, ScriptError& error) {
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

int RunScript(GameHost& host, ScriptHooks& hooks, const std::vector<ScriptCommand>& commands, const std::string& name,
              ScriptIo io) {
  return Runner(host, hooks, name, io).Run(commands);
}

}  // namespace pelmot
