#include "app/state_json.h"
#include "comforts/content_problem.h"

#include "comforts/comfort_canvas.h"
#include "present/shown_language.h"

#include <algorithm>
#include <cstdio>

#include "app/game_host.h"
#include "game/game.h"

namespace pelmot {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

std::string Bool(bool b) { return b ? "true" : "false"; }

template <typename Array, typename ToJson>
void AddArray(Fields& fields, const std::string& name, const Array& values, ToJson toJson) {
  std::string whole = "[";
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::string item = toJson(values[i]);
    if (i) whole += ",";
    whole += item;
    fields.emplace_back(name + "[" + std::to_string(i) + "]", item);
  }
  fields.emplace_back(name, whole + "]");
}

std::string Number(long v) { return std::to_string(v); }

// The comforts as a player who never used one sees them: closed, off, the
// original game's skipping.
void AddComfortFields(Fields& f, const ComfortState& c) {
  f.emplace_back("BacklogOpen", Bool(c.backlog.open));
  f.emplace_back("BacklogLines", Number(c.history.Lines()));
  f.emplace_back("RouteChartOpen", Bool(c.routeChart.open));
  f.emplace_back("HistoryDepth", Number(std::max(0, c.history.Current())));
  f.emplace_back("AutoForward", Bool(c.autoForward.on));
  const bool readOnly = c.settings.skipMode == SkipMode::ReadOnly;
  f.emplace_back("SkipMode", JsonString(readOnly ? "read" : "all"));
  f.emplace_back("TextSpeed", Number(c.settings.textSpeed));
  const auto orNull = [](const std::optional<std::string>& text) { return text ? JsonString(*text) : "null"; };
  f.emplace_back("LastCopied", orNull(c.language.lastCopied));
  f.emplace_back("LastSpoken", orNull(c.language.lastSpoken));
  f.emplace_back("AuthorOverlay", Bool(c.author.open));
}

bool ComfortScreenOpen(const ComfortState& c) {
  return c.settingsScreen.open || c.routeChart.open || c.backlog.open || c.author.open;
}

// The words of the topmost screen as drawn: the open box, a comfort's
// screen, else the game's page or menu.
std::string ShownText(const GameHost& host) {
  if (auto box = host.OpenBoxText()) return *box;
  if (ComfortScreenOpen(host.comforts().State())) {
    std::vector<std::string> rows;
    std::vector<Colour> pixels(static_cast<std::size_t>(kScreenWidth) * kScreenHeight);
    ComfortCanvas::textRecord = &rows;
    const_cast<GameHost&>(host).comforts().DrawOver(pixels);
    ComfortCanvas::textRecord = nullptr;
    std::string text;
    for (const std::string& row : rows) text += (text.empty() ? "" : "\n") + row;
    return text;
  }
  return ShownRowsText(host.game());
}

}  // namespace

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::vector<std::pair<std::string, std::string>> StateFields(const GameHost& host,
                                                             const std::optional<std::string>& lastMessage) {
  const Game& game = host.game();
  const GameState& s = game.state;
  const SaveRecord& r = s.SaveRecord;
  auto num = [](auto v) { return Number(static_cast<long>(v)); };
  Fields f;
  f.emplace_back("FlowMode", num(s.FlowMode));
  AddArray(f, "StepNo", s.StepNo, num);
  f.emplace_back("SceneNo", num(s.SceneNo));
  f.emplace_back("ClickAdvances", Bool(s.ClickAdvances));
  f.emplace_back("ChoiceNo", num(s.ChoiceNo));
  f.emplace_back("HoverNo", num(s.HoverNo));
  AddArray(f, "MenuItems", s.MenuItems, JsonString);
  f.emplace_back("OptionCount", num(s.OptionCount));
  f.emplace_back("LineNo", num(s.LineNo));
  f.emplace_back("KeptLineNo", num(s.KeptLineNo));
  f.emplace_back("PendingText", JsonString(s.PendingText));
  f.emplace_back("ShownPic", num(s.ShownPic));
  f.emplace_back("TitleChoice", num(s.TitleChoice));
  f.emplace_back("AlbumPage", num(s.AlbumPage));
  f.emplace_back("SlideNo", num(s.SlideNo));
  f.emplace_back("MenuKind", num(s.MenuKind));
  f.emplace_back("MenuSlot", num(s.MenuSlot));
  AddArray(f, "SaveDate", s.SaveDate, JsonString);
  AddArray(f, "CgSeen", s.CgSeen, num);
  f.emplace_back("EndingNo", num(s.EndingNo()));
  f.emplace_back("WinDir", JsonString(s.WinDir));
  f.emplace_back("MoviePath", JsonString(s.MoviePath));
  f.emplace_back("StartDisplay", "{\"bitsPerPixel\":" + num(s.StartDisplay.bitsPerPixel) + ",\"width\":" +
                                     num(s.StartDisplay.width) + ",\"height\":" + num(s.StartDisplay.height) + "}");
  f.emplace_back("ResumeMode", num(r.ResumeMode));
  f.emplace_back("SavedScene", num(r.SavedScene));
  f.emplace_back("SceneStep", num(r.SceneStep));
  f.emplace_back("SavedPic", num(r.SavedPic));
  f.emplace_back("Reserved4", num(r.Reserved4));
  f.emplace_back("Reserved5", num(r.Reserved5));
  f.emplace_back("LastChoice", num(r.LastChoice));
  f.emplace_back("Reserved7", num(r.Reserved7));
  f.emplace_back("Reserved8", num(r.Reserved8));
  f.emplace_back("DayNo", num(r.DayNo));
  AddArray(f, "Params", r.Params, num);
  f.emplace_back("Condition", num(r.Condition));
  f.emplace_back("SkipTimer", Bool(game.form.SkipTimer.enabled));
  f.emplace_back("MainPicEnabled", Bool(game.form.MainPic.enabled));
  f.emplace_back("SkipBVisible", Bool(game.form.SkipB.visible));
  AddComfortFields(f, host.comforts().State());
  f.emplace_back("Language", JsonString(LanguageCode(host.game())));
  const std::optional<std::string> problem = ContentProblemText(host.game());
  f.emplace_back("ContentProblem", problem ? JsonString(*problem) : "null");
  f.emplace_back("ShownText", JsonString(ShownText(host)));
  f.emplace_back("LastMessage", lastMessage ? JsonString(*lastMessage) : "null");
  return f;
}

std::string StateJson(const GameHost& host, const std::optional<std::string>& lastMessage) {
  std::string out = "{";
  bool first = true;
  for (const auto& [name, value] : StateFields(host, lastMessage)) {
    if (name.find('[') != std::string::npos) continue;
    if (!first) out += ",";
    first = false;
    out += JsonString(name) + ":" + value;
  }
  return out + "}";
}

}  // namespace pelmot
