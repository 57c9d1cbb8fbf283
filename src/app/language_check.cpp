#include "app/language_check.h"

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <vector>

#include "comforts/comfort_geometry.h"
#include "game/screen_geometry.h"
#include "platform/services.h"
#include "platform/ui_text.h"
#include "platform/utf8.h"
#include "present/text_layout.h"
#include "scenes/text_ids.h"
#include "shell/layout.h"

namespace pelmot {
namespace {

// --- the rows that never page -------------------------------------------

enum class RowKind { kMenu, kSettings };

// What a placeholder of a row may hold: a number or stamp as written, or
// one of some interface texts; the widest counts.
struct RowValue {
  std::string_view literal;
  std::vector<UiText> texts{};
};

struct FixedRow {
  UiText text;
  RowKind kind;
  std::vector<RowValue> values{};  // for {0}, {1}, ...
  std::string_view after{};        // what the row shows after the text
};

constexpr std::string_view kWidestStamp = "88/88/88 88:88";  // as a slot's short stamp is written
const RowValue kOnOff{"", {UiText::settings_on, UiText::settings_off}};

// The interface texts drawn as one centred row of a menu (its items and its
// title or question) or of the settings screen.
const std::vector<FixedRow>& FixedRows() {
  static const std::vector<FixedRow> rows = {
      {UiText::yes, RowKind::kMenu},
      {UiText::no, RowKind::kMenu},
      {UiText::cancel, RowKind::kMenu},
      {UiText::title_start, RowKind::kMenu},
      {UiText::title_load, RowKind::kMenu},
      {UiText::cg_mode, RowKind::kMenu},
      {UiText::title_quit, RowKind::kMenu},
      {UiText::cg_album, RowKind::kMenu},
      {UiText::cg_slideshow, RowKind::kMenu},
      {UiText::menu_title, RowKind::kMenu},
      {UiText::menu_save, RowKind::kMenu},
      {UiText::menu_load, RowKind::kMenu},
      {UiText::menu_to_title, RowKind::kMenu},
      {UiText::menu_quit, RowKind::kMenu},
      {UiText::menu_resolution, RowKind::kMenu},
      {UiText::file_select, RowKind::kMenu},
      {UiText::file_slot, RowKind::kMenu, {{"10"}}, kWidestStamp},
      {UiText::ask_save_slot, RowKind::kMenu, {{"10"}, {kWidestStamp}}},
      {UiText::ask_load_slot, RowKind::kMenu, {{"10"}, {kWidestStamp}}},
      {UiText::ask_to_title, RowKind::kMenu},
      {UiText::ask_quit_to_windows, RowKind::kMenu},
      {UiText::ask_quit, RowKind::kMenu},
      {UiText::settings_title, RowKind::kSettings},
      {UiText::settings_text_speed,
       RowKind::kSettings,
       {{"", {UiText::settings_text_instant, UiText::settings_text_per_second}}}},
      {UiText::settings_auto_forward, RowKind::kSettings, {kOnOff}},
      {UiText::settings_auto_base, RowKind::kSettings, {{"88888"}}},
      {UiText::settings_auto_per_char, RowKind::kSettings, {{"8888"}}},
      {UiText::settings_skip, RowKind::kSettings, {{"", {UiText::settings_skip_all, UiText::settings_skip_read}}}},
      {UiText::settings_window_size,
       RowKind::kSettings,
       {{"", {UiText::settings_size_one, UiText::settings_size_two, UiText::settings_size_fit}}}},
      {UiText::settings_full_screen, RowKind::kSettings, {kOnOff}},
      {UiText::settings_save_previews, RowKind::kSettings, {kOnOff}},
      {UiText::settings_bilingual, RowKind::kSettings, {kOnOff}},
      {UiText::settings_copy_lines, RowKind::kSettings, {kOnOff}},
      {UiText::settings_speak_lines, RowKind::kSettings, {kOnOff}},
      {UiText::back, RowKind::kSettings},
  };
  return rows;
}

// A centred row's frame stays on the screen.
constexpr int kMenuRoom = kScreenWidth - 2 * kCentredFrameRightMargin;
constexpr int kSettingsRoom = kScreenWidth - 2 * kSettingsFrameSide;

// `text` with each {N} replaced by values[N].
std::string Fill(std::string_view text, const std::vector<std::string>& values) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool placeholder = text[i] == '{' && i + 2 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9' &&
                             text[i + 2] == '}' && static_cast<std::size_t>(text[i + 1] - '0') < values.size();
    if (placeholder) {
      out += values[static_cast<std::size_t>(text[i + 1] - '0')];
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// --- one language ----------------------------------------------------------

struct Counts {
  int translated = 0, untranslated = 0, fuzzy = 0, obsolete = 0, stale = 0, tooWide = 0;
};

class LanguageChecker {
 public:
  LanguageChecker(const TextTemplate& text, const Catalog& catalog, TextEngine* measure, std::string file,
                  std::ostream& err)
      : template_(text), catalog_(catalog), measure_(measure), file_(std::move(file)), err_(err) {
    for (const TemplateText& t : text.texts) known_.emplace(t.entry.context, &t);
    for (const CatalogEntry& e : catalog.entries)
      if (!e.obsolete && !e.translation.empty() && !e.fuzzy) shown_.emplace(e.context, e.translation);
  }

  Counts Run() {
    for (const CatalogEntry& e : catalog_.entries) CheckEntry(e);
    ListMissing();
    return counts_;
  }

 private:
  void Warn(int line, const std::string& message) { err_ << file_ << ":" << line << ": warning: " << message << "\n"; }

  static std::string Quote(const std::string& s) { return "\"" + s + "\""; }

  void CheckEntry(const CatalogEntry& e) {
    if (e.obsolete) {
      ++counts_.obsolete;
      return Warn(e.line, Quote(e.context) + " is obsolete (#~); the game never shows it");
    }
    auto known = known_.find(e.context);
    if (known == known_.end()) {
      ++counts_.obsolete;
      return Warn(e.line, Quote(e.context) + " is no text of the game (obsolete)");
    }
    entryLines_.emplace(e.context, e.line);
    const TemplateText& t = *known->second;
    if (e.original != t.entry.original) {
      ++counts_.stale;
      Warn(e.line, Quote(e.context) + " is stale: it translates " + Quote(e.original) + ", and the text is now " +
                       Quote(t.entry.original));
    }
    if (e.fuzzy) {
      ++counts_.fuzzy;
      return Warn(e.line, Quote(e.context) + " is marked fuzzy; the game shows the original until the mark is gone");
    }
    if (e.translation.empty()) {
      ++counts_.untranslated;
      return Warn(e.line, Quote(e.context) + " is untranslated");
    }
    ++counts_.translated;
    if (measure_) CheckWidth(e, t);
  }

  // The texts of the template with no entry, each at the line of the entry
  // before it in the template's order (where it belongs).
  void ListMissing() {
    int anchor = 1;
    for (const TemplateText& t : template_.texts) {
      if (auto line = entryLines_.find(t.entry.context); line != entryLines_.end()) {
        anchor = line->second;
        continue;
      }
      ++counts_.untranslated;
      Warn(anchor, Quote(t.entry.context) + " has no entry (untranslated)");
    }
  }

  // --- widths ---

  int Width(const std::string& text) {
    static const int pixels = FontPixels(kStandardTwipsPerPixel, ScaledFontSize(kStandardTwipsPerPixel, kTextFontSize));
    return measure_->Width(text, pixels);
  }

  void TooWide(const CatalogEntry& e, const std::string& what, int width, int room) {
    ++counts_.tooWide;
    Warn(e.line, Quote(e.context) + " " + what + " is " + std::to_string(width) + " pixels wide; its row holds " +
                     std::to_string(room));
  }

  void CheckWidth(const CatalogEntry& e, const TemplateText& t) {
    switch (t.place) {
      case TextPlace::kWindowOption:
      case TextPlace::kPageOption: {
        const int right = t.place == TextPlace::kWindowOption ? kMessageWindow.Right() : kScreenWidth;
        const int room = right - kOptionLeft - kOptionFrameRightMargin;
        if (const int w = Width(e.translation); w > room) TooWide(e, "as an option", w, room);
        break;
      }
      case TextPlace::kWindowLine:
      case TextPlace::kPageLine:
        CheckWords(e, t.place == TextPlace::kWindowLine ? kWindowLayout : kFullScreenLayout);
        break;
      case TextPlace::kInterface: CheckFixedRow(e); break;
      case TextPlace::kGreeting: break;
    }
  }

  // A line wraps at spaces, and anywhere between kana and kanji; only a
  // word wider than a whole row cannot.
  void CheckWords(const CatalogEntry& e, const TextLayout& layout) {
    const int room = layout.limit - layout.slack;
    std::string text = e.translation;
    for (const char* mark : {"@r", "@R"})
      for (std::size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, 2, " ");
    std::u32string rest = DecodeUtf8(text);
    if (!rest.empty() && (rest.front() == U'@' || rest.front() == U'＠')) rest.erase(0, 1);
    std::u32string word;
    rest += U' ';
    for (const char32_t c : rest) {
      if (c != U' ' && !IsFullWidth(c)) {
        word += c;
        continue;
      }
      if (const int w = Width(EncodeUtf8(word)); w > room)
        return TooWide(e, "has the word " + Quote(EncodeUtf8(word)), w, room);
      word.clear();
    }
  }

  // The text an interface name shows now: its translation, else the original.
  std::string Shown(UiText id) {
    const std::string context = UiTextId(UiTexts()[static_cast<std::size_t>(id)].name);
    auto it = shown_.find(context);
    return it != shown_.end() ? it->second : Ui(id);
  }

  std::string Widest(const RowValue& value) {
    std::string widest(value.literal);
    for (UiText id : value.texts) {
      const std::string candidate = Fill(Shown(id), {"8888"});
      if (Width(candidate) > Width(widest)) widest = candidate;
    }
    return widest;
  }

  void CheckFixedRow(const CatalogEntry& e) {
    for (const FixedRow& row : FixedRows()) {
      if (UiTextId(UiTexts()[static_cast<std::size_t>(row.text)].name) != e.context) continue;
      std::vector<std::string> values;
      for (const RowValue& value : row.values) values.push_back(Widest(value));
      std::string shown = Fill(e.translation, values);
      if (!row.after.empty()) shown += " " + std::string(row.after);
      const bool menu = row.kind == RowKind::kMenu;
      const int room = menu ? kMenuRoom : kSettingsRoom;
      if (const int w = Width(shown); w > room) TooWide(e, menu ? "as a menu row" : "as a settings row", w, room);
    }
  }

  const TextTemplate& template_;
  const Catalog& catalog_;
  TextEngine* measure_;
  std::string file_;
  std::ostream& err_;
  std::map<std::string, const TemplateText*> known_;
  std::map<std::string, int> entryLines_;
  std::map<std::string, std::string> shown_;  // context to the translation the game shows
  Counts counts_;
};

void Summarise(const std::string& file, const Counts& c, std::size_t total, std::ostream& out) {
  out << file << ": " << c.translated << " of " << total << " texts translated";
  const std::pair<int, const char*> parts[] = {{c.untranslated, "untranslated"},
                                               {c.fuzzy, "fuzzy"},
                                               {c.obsolete, "obsolete"},
                                               {c.stale, "stale"},
                                               {c.tooWide, "too wide"}};
  for (const auto& [n, what] : parts)
    if (n) out << ", " << n << " " << what;
  out << "\n";
}

}  // namespace

void CheckLanguages(const TextTemplate& text, Catalogs& catalogs, TextEngine* measure, const std::string& contentDir,
                    std::ostream& out, std::ostream& err) {
  if (measure) measure->SetFace(TextFace::kWestern);
  for (const std::string& code : catalogs.Languages()) {
    const std::string file = CatalogPath(contentDir, code, ".po");
    std::string error;
    const std::optional<Catalog> catalog = catalogs.Load(code, error);
    if (!catalog) {
      err << file << ": warning: the catalog cannot be read, so the game does not offer it (" << error << ")\n";
      continue;
    }
    const Counts counts = LanguageChecker(text, *catalog, measure, file, err).Run();
    Summarise(file, counts, text.texts.size(), out);
  }
  if (measure) measure->SetFace(TextFace::kWindow);
}

}  // namespace pelmot
