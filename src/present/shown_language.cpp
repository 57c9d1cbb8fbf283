#include "present/shown_language.h"

#include "game/game.h"
#include "game/run_flow.h"
#include "platform/ui_text.h"
#include "platform/utf8.h"

namespace pelmot {
namespace {

constexpr std::string_view kUiPrefix = "ui:";
// More rows than any page holds: LineNo is whatever the flow made it.
constexpr int kMaxPageRows = 64;

}  // namespace

Translation::Translation(std::string code, const Catalog& catalog) : code_(std::move(code)) {
  for (const CatalogEntry& e : catalog.entries)
    if (!e.fuzzy && !e.obsolete && !e.translation.empty() && !e.context.empty())
      byId_[e.context] = {e.original, e.translation};
}

const std::string* Translation::Find(std::string_view id, std::string_view original) const {
  const auto it = byId_.find(std::string(id));
  if (it == byId_.end() || it->second.original != original) return nullptr;
  return &it->second.translation;
}

std::vector<std::string> Translation::InterfaceTexts() const {
  std::vector<std::string> texts;
  for (const UiTextEntry& e : UiTexts()) {
    const std::string* t = Find(std::string(kUiPrefix) + std::string(e.name), e.text);
    texts.push_back(t ? *t : std::string());
  }
  return texts;
}

ShownLanguage& Language(Game& game) { return game.parts.Get<ShownLanguage>(); }

const ShownLanguage* FindLanguage(const Game& game) { return game.parts.Find<ShownLanguage>(); }

std::string LanguageCode(const Game& game) {
  const ShownLanguage* l = FindLanguage(game);
  return l && l->translation ? l->translation->Code() : std::string(kOriginalLanguage);
}

void UseTranslation(Game& game, std::shared_ptr<const Translation> translation) {
  UseUiTranslation(translation ? translation->InterfaceTexts() : std::vector<std::string>{});
  game.services.text.SetFace(translation ? TextFace::kWestern : TextFace::kWindow);
  Language(game).translation = std::move(translation);
}

std::string ShownWords(const Game& game, std::string_view id, const std::string& original) {
  const ShownLanguage* l = FindLanguage(game);
  if (id.empty() || !l || !l->translation) return original;
  const std::string* t = l->translation->Find(id, original);
  return t ? *t : original;
}

std::string ShownLine(const Game& game, std::string_view id, const std::string& original) {
  std::string shown = ShownWords(game, id, original);
  const ShownLanguage* l = FindLanguage(game);
  if (!l || !l->bilingual || shown == original || original.empty()) return shown;
  // The translation's own continue mark belongs to the original's row.
  const std::u32string translated = DecodeUtf8(shown);
  const std::size_t skip = StartsWithContinueMark(translated) ? 1 : 0;
  return original + "@r" + EncodeUtf8(translated.substr(skip));
}

WrapRule ShownWrap(const Game& game) {
  const ShownLanguage* l = FindLanguage(game);
  return l && l->translation ? WrapRule::kWords : WrapRule::kCharacters;
}

void ShownRows::SetPageRow(int row, std::string text) {
  if (row < 0 || row > kMaxPageRows) return;
  if (static_cast<int>(page.size()) <= row) page.resize(row + 1);
  page[row] = std::move(text);
}

ShownRows& RowsOnScreen(Game& game) { return game.parts.Get<ShownRows>(); }

std::string ShownRowsText(const Game& game) {
  const ShownRows* shown = game.parts.Find<ShownRows>();
  if (!shown) return {};
  const int mode = game.state.FlowMode;
  const bool menu = shown->menuOnTop && (mode == kModeTitle || mode == kModeSystemMenu);
  const std::vector<std::string>& rows = menu ? shown->menu : shown->page;
  std::size_t count = rows.size();
  while (count > 0 && rows[count - 1].empty()) --count;
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += (i ? "\n" : "") + rows[i];
  return text;
}

}  // namespace pelmot
