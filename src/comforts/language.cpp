#include "comforts/language.h"

#include <algorithm>
#include <memory>
#include <ostream>

#include "comforts/comfort_state.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "platform/ui_text.h"
#include "platform/utf8.h"
#include "present/menu_page.h"
#include "present/shown_language.h"
#include "present/text_layout.h"
#include "scenes/content.h"
#include "scenes/greeting_text.h"
#include "scenes/scene_table.h"
#include "scenes/text_ids.h"

namespace pelmot {
namespace {

struct Coverage {
  int missing = 0, total = 0;
  void Count(const Translation& t, std::string_view id, const std::string& original) {
    if (id.empty() || original.empty()) return;
    ++total;
    if (!t.Find(id, original)) ++missing;
  }
};

void CountOps(Coverage& coverage, const Translation& t, const std::vector<Op>& ops) {
  for (const Op& op : ops) {
    if (op.kind == OpKind::Line) coverage.Count(t, op.textId, op.text);
    for (const OptionSet& set : op.optionSets)
      for (std::size_t i = 0; i < set.options.size(); ++i) coverage.Count(t, set.ids[i], set.options[i]);
    for (const BranchCase& branch : op.cases) CountOps(coverage, t, branch.ops);
  }
}

// How many of the story's and the interface's texts the translation lacks.
Coverage CoverageOf(const Game& game, const Translation& t) {
  Coverage coverage;
  if (const Story* story = PlayedStory(game))
    for (const SceneScript& scene : story->Scenes())
      for (const Lane& lane : scene.lanes)
        for (const Step& step : lane.steps) CountOps(coverage, t, step.ops);
  for (int picture = kFirstGreetingPicture; picture <= kLastGreetingPicture; ++picture)
    coverage.Count(t, GreetingTextId(picture), GreetingLine(game, picture));
  for (const UiTextEntry& e : UiTexts()) coverage.Count(t, UiTextId(e.name), std::string(e.text));
  return coverage;
}

void TellMissing(const Game& game, LanguageState& l, const Translation& t) {
  if (l.missingTold || !l.warnings) return;
  const Coverage coverage = CoverageOf(game, t);
  if (coverage.missing == 0) return;
  l.missingTold = true;
  *l.warnings << "pelmot: warning: lang/" << t.Code() << ".po has no usable translation for " << coverage.missing
              << " of " << coverage.total << " texts; they show in the original\n";
}

// Draws again whatever the game's surfaces show: the page up to the entry
// on screen, or the menu.
void DrawScreenAgain(Game& game, ComfortState& c) {
  ShownRows& rows = RowsOnScreen(game);
  const int mode = game.state.FlowMode;
  if (rows.menuOnTop && (mode == kModeTitle || mode == kModeSystemMenu) && rows.lastMenu) {
    const MenuBuilder build = rows.lastMenu;
    DrawMenu(game, build);
  } else if (InScenePlay(game) && c.history.Current() >= 0) {
    c.history.GoBackTo(game, c.history.Current());
  }
}

std::string Joined(const std::vector<std::string>& codes) {
  std::string text;
  for (const std::string& code : codes) text += (text.empty() ? "" : ", ") + code;
  return text;
}

}  // namespace

std::vector<std::string> LanguagesThereAre(const LanguageState& l) {
  std::vector<std::string> codes{std::string(kOriginalLanguage)};
  if (l.catalogs)
    for (const std::string& code : l.catalogs->Languages())
      if (code != kOriginalLanguage) codes.push_back(code);
  return codes;
}

bool SwitchLanguage(Game& game, ComfortState& c, const std::string& code, std::string& problem) {
  LanguageState& l = c.language;
  std::shared_ptr<const Translation> translation;
  if (code == LanguageCode(game)) return true;
  if (code != kOriginalLanguage) {
    const std::vector<std::string> codes = LanguagesThereAre(l);
    if (std::find(codes.begin(), codes.end(), code) == codes.end()) {
      problem = UiFormat(UiText::language_unknown, {code, Joined(codes)});
      return false;
    }
    std::string error;
    const std::optional<Catalog> catalog = l.catalogs->Load(code, error);
    if (!catalog) {
      problem = UiFormat(UiText::language_unreadable, {error});
      return false;
    }
    translation = std::make_shared<const Translation>(code, *catalog);
    TellMissing(game, l, *translation);
  }
  UseTranslation(game, std::move(translation));
  ShowAgainInLanguage(game, c);
  return true;
}

void ShowAgainInLanguage(Game& game, ComfortState& c) {
  c.history.ShowInLanguageNow(game);
  DrawScreenAgain(game, c);
}

std::string NextLanguage(const LanguageState& l, const std::string& code, int direction) {
  const std::vector<std::string> codes = LanguagesThereAre(l);
  const auto at = std::find(codes.begin(), codes.end(), code);
  const int n = static_cast<int>(codes.size());
  const int i = at == codes.end() ? 0 : static_cast<int>(at - codes.begin());
  return codes[((i + direction) % n + n) % n];
}

namespace {

// The words of the line on screen as shown, its break marks as new rows.
std::string LineWords(const Game& game) {
  const ShownRows* rows = game.parts.Find<ShownRows>();
  if (!rows) return {};
  std::string text = ShownLine(game, rows->lineId, rows->lineOriginal);
  // The continue mark is the text window's, not a word.
  if (const std::u32string whole = DecodeUtf8(text); StartsWithContinueMark(whole)) text = EncodeUtf8(whole.substr(1));
  for (std::size_t at = 0; (at = text.find('@', at)) != std::string::npos;) {
    if (at + 1 < text.size() && (text[at + 1] == 'r' || text[at + 1] == 'R'))
      text.replace(at, 2, "\n");
    else
      ++at;
  }
  return text;
}

// The options of the choice on screen, or the menu's rows, as shown.
std::string ItemWords(const Game& game) {
  std::string text;
  for (int i = 0; i <= game.state.OptionCount; ++i) {
    const std::string& item = ShownItem(game, i);
    if (!item.empty()) text += (text.empty() ? "" : "\n") + item;
  }
  const ShownRows* rows = game.parts.Find<ShownRows>();
  if (rows && rows->menuOnTop && !rows->menu.empty() && !rows->menu.front().empty())
    text = rows->menu.front() + "\n" + text;
  return text;
}

void Speak(Game& game, ComfortState& c, const std::string& text) {
  LanguageState& l = c.language;
  if (!c.settings.speakLines || l.speechMuted || text.empty()) return;
  l.lastSpoken = text;
  if (l.aids) l.aids->Speak(text, LanguageCode(game));
}

}  // namespace

void ReadingAidsAfterEvent(Game& game, ComfortState& c) {
  LanguageState& l = c.language;
  if (!c.settings.copyLines && !c.settings.speakLines) return;
  const ShownRows* rows = game.parts.Find<ShownRows>();
  if (!rows) return;
  // Something new is on screen when the rows or the language changed.
  const std::string shown = LanguageCode(game) + "\n" + ShownRowsText(game);
  if (shown == l.lastPage) return;
  l.lastPage = shown;
  const bool items =
      (rows->menuOnTop && (game.state.FlowMode == kModeTitle || game.state.FlowMode == kModeSystemMenu)) ||
      ChoiceWaits(game);
  if (items) {
    Speak(game, c, ItemWords(game));
    return;
  }
  const std::string line = LineWords(game);
  if (line.empty()) return;
  if (c.settings.copyLines) {
    l.lastCopied = line;
    if (l.aids) l.aids->Copy(line);
  }
  Speak(game, c, line);
}

bool ToggleSpeech(Game& game, ComfortState& c) {
  if (!c.settings.speakLines) return false;
  LanguageState& l = c.language;
  l.speechMuted = !l.speechMuted;
  if (l.speechMuted && l.aids) l.aids->StopSpeaking();
  ShowCornerLine(game, c.cornerLine, Ui(l.speechMuted ? UiText::speech_off : UiText::speech_on));
  return true;
}

}  // namespace pelmot
