#include "platform/catalog.h"

#include <cstdint>
#include <cstdio>

namespace pelmot {
namespace {

// --- compiled catalogs -------------------------------------------------------
//
// A .mo file: a header of 32-bit words in the writer's byte order (magic,
// revision, string count, the offsets of the originals' and translations'
// tables), then two tables of (length, offset) pairs into the strings.

constexpr std::uint32_t kMoMagic = 0x950412de;
constexpr std::size_t kMoHeaderBytes = 28;
constexpr char kContextEnd = '\x04';  // between a context and its original

class MoReader {
 public:
  explicit MoReader(std::string_view bytes) : bytes_(bytes) {}

  // False when the bytes do not start with either byte order's magic.
  bool ReadByteOrder() {
    if (bytes_.size() < kMoHeaderBytes) return false;
    if (Word(0) == kMoMagic) return true;
    swapped_ = true;
    return Word(0) == kMoMagic;
  }

  std::uint32_t Word(std::size_t at) const {
    std::uint32_t w = 0;
    for (int i = 0; i < 4; ++i) {
      const auto byte = static_cast<std::uint8_t>(bytes_[at + static_cast<std::size_t>(swapped_ ? i : 3 - i)]);
      w = (w << 8) | byte;
    }
    return w;
  }

  // String `index` of the table at `table`; false when it lies outside.
  bool String(std::uint32_t table, std::uint32_t index, std::string_view& out) const {
    const std::uint64_t entry = std::uint64_t{table} + std::uint64_t{index} * 8;
    if (entry + 8 > bytes_.size()) return false;
    const std::uint64_t length = Word(entry), offset = Word(entry + 4);
    if (offset + length > bytes_.size()) return false;
    out = bytes_.substr(offset, length);
    return true;
  }

 private:
  std::string_view bytes_;
  bool swapped_ = false;
};

// The text up to the first NUL: a plural entry's first form.
std::string_view FirstForm(std::string_view s) { return s.substr(0, s.find('\0')); }

std::optional<Catalog> Fail(std::string& error, const std::string& why) {
  error = why;
  return std::nullopt;
}

// --- writing -----------------------------------------------------------------

// One string in the PO file's quotes, with its escapes.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
          char octal[8];
          std::snprintf(octal, sizeof octal, "\\%03o", static_cast<unsigned char>(c));
          out += octal;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

// `keyword "text"`; a text with line breaks is written a line per row.
std::string Field(std::string_view keyword, std::string_view text) {
  const std::size_t firstBreak = text.find('\n');
  if (firstBreak == std::string_view::npos || firstBreak + 1 == text.size())
    return std::string(keyword) + " " + Quoted(text) + "\n";
  std::string out = std::string(keyword) + " \"\"\n";
  for (std::size_t from = 0; from < text.size();) {
    const std::size_t end = text.find('\n', from);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    out += Quoted(text.substr(from, next - from)) + "\n";
    from = next;
  }
  return out;
}

// The header entry; a template's fields are the usual blanks for the
// translator's tools (msginit) to fill.
std::string Header(std::string_view title, std::string_view language) {
  const bool blank = language.empty();
  std::string out = "# " + std::string(title) + "\n";
  if (blank) out += "#, fuzzy\n";
  out += "msgid \"\"\nmsgstr \"\"\n";
  out += "\"Project-Id-Version: PELMOT\\n\"\n";
  if (blank) {
    out += "\"PO-Revision-Date: YEAR-MO-DA HO:MI+ZONE\\n\"\n";
    out += "\"Last-Translator: FULL NAME <EMAIL@ADDRESS>\\n\"\n";
    out += "\"Language-Team: LANGUAGE <LL@li.org>\\n\"\n";
  }
  out += "\"Language: " + std::string(language) + "\\n\"\n";
  out += "\"MIME-Version: 1.0\\n\"\n";
  out += "\"Content-Type: text/plain; charset=UTF-8\\n\"\n";
  out += "\"Content-Transfer-Encoding: 8bit\\n\"\n";
  out += "\"Plural-Forms: nplurals=2; plural=(n != 1);\\n\"\n";
  return out;
}

std::string Entry(const TemplateEntry& e, std::string_view translation) {
  std::string out = "\n";
  if (!e.reference.empty()) out += "#: " + e.reference + "\n";
  out += Field("msgctxt", e.context);
  out += Field("msgid", e.original);
  out += Field("msgstr", translation);
  return out;
}

}  // namespace

std::optional<Catalog> ParseMoCatalog(std::string_view bytes, std::string& error) {
  MoReader mo(bytes);
  if (!mo.ReadByteOrder()) return Fail(error, "not a compiled catalog (no .mo magic number)");
  const std::uint32_t major = mo.Word(4) >> 16;
  if (major > 1) return Fail(error, "a compiled catalog of unknown revision " + std::to_string(major));
  const std::uint32_t count = mo.Word(8), originals = mo.Word(12), translations = mo.Word(16);
  Catalog catalog;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::string_view original, translation;
    if (!mo.String(originals, i, original) || !mo.String(translations, i, translation))
      return Fail(error, "string " + std::to_string(i) + " of the compiled catalog lies outside the file");
    original = FirstForm(original);
    CatalogEntry entry;
    if (const std::size_t end = original.find(kContextEnd); end != std::string_view::npos) {
      entry.context = original.substr(0, end);
      original.remove_prefix(end + 1);
    }
    if (original.empty() && entry.context.empty()) continue;  // the header
    entry.original = original;
    entry.translation = FirstForm(translation);
    catalog.entries.push_back(std::move(entry));
  }
  return catalog;
}

std::string WritePoTemplate(const std::vector<TemplateEntry>& entries) {
  std::string out = Header("The words of the game to translate; copy to lang/CODE.po.", "");
  for (const TemplateEntry& e : entries) out += Entry(e, "");
  return out;
}

std::string WritePoCatalog(const std::vector<TemplateEntry>& entries, const std::vector<std::string>& translations,
                           std::string_view language) {
  std::string out = Header("The words of the game in " + std::string(language) + ".", language);
  for (std::size_t i = 0; i < entries.size(); ++i)
    out += Entry(entries[i], i < translations.size() ? translations[i] : std::string());
  return out;
}

std::string CatalogPath(const std::string& contentDir, const std::string& code, std::string_view extension) {
  return (contentDir.empty() ? std::string(".") : contentDir) + "/lang/" + code + std::string(extension);
}

bool IsCatalogCode(std::string_view code) {
  if (code.empty() || code.size() > 32) return false;
  for (const char c : code)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'))
      return false;
  return true;
}

}  // namespace pelmot
