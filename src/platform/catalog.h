// Translations of the game's words: one catalog per language, each entry
// known by a stable ID (its context) and the original text it translates.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelmot {

struct CatalogEntry {
  std::string context;      // the stable ID: "12 p0 s33", "greeting 125", "ui:ok"
  std::string original;     // the text as the original shows it
  std::string translation;  // empty while untranslated
  bool fuzzy = false;       // marked for review; not used in play
  bool obsolete = false;    // kept by the translator's tools, not used in play
  int line = 0;             // where the entry starts in its file; 0 when unknown
};

struct Catalog {
  std::vector<CatalogEntry> entries;
};

// A catalog compiled by msgfmt (a .mo file); nothing, with `error` set, when
// the bytes are not one.
std::optional<Catalog> ParseMoCatalog(std::string_view bytes, std::string& error);

// One entry of a template, with where its original text comes from.
struct TemplateEntry {
  std::string context;
  std::string original;
  std::string reference;  // "scenario.txt:12", "ui"
};

// A translation template (.pot) holding `entries` in order.
std::string WritePoTemplate(const std::vector<TemplateEntry>& entries);
// A catalog for `language` (a .po) holding `entries` in order, each with
// the translation at the same place in `translations`.
std::string WritePoCatalog(const std::vector<TemplateEntry>& entries, const std::vector<std::string>& translations,
                           std::string_view language);

// The file of catalog `code` in a content folder: lang/CODE + `extension`
// (".po" as translators write it, ".mo" compiled for the browser).
std::string CatalogPath(const std::string& contentDir, const std::string& code, std::string_view extension);

// Whether `code` may name a catalog: letters, digits, "_" and "-" only
// ("en", "pt_BR"), so it can never lead out of the folder.
bool IsCatalogCode(std::string_view code);

// The catalogs of a content folder, one per language code.
class Catalogs {
 public:
  virtual ~Catalogs() = default;
  // The codes there are catalogs for, sorted ("en", "fr"); the original,
  // "ja", is never among them.
  virtual std::vector<std::string> Languages() = 0;
  // The catalog of `code`; nothing, with `error` set, when it cannot be read.
  virtual std::optional<Catalog> Load(const std::string& code, std::string& error) = 0;
};

// The original's language, which needs no catalog.
inline constexpr std::string_view kOriginalLanguage = "ja";

}  // namespace pelmot
