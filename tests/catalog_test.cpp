// Translation catalogs as the game reads them: PO files through
// libgettextpo, compiled .mo files for the browser, and the template the
// game writes for translators.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "game_fixture.h"
#include "platform/catalog.h"
#include "platform/common/files.h"
#include "platform/common/po_catalogs.h"
#include "platform/services.h"
#include "platform/web/mo_catalogs.h"

namespace pelmot {
namespace {

using testing::TempDir;

// A .mo file of (original, translation) pairs, in either byte order, the
// strings after the tables as msgfmt lays them out.
std::string MoFile(const std::vector<std::pair<std::string, std::string>>& pairs, bool bigEndian) {
  std::string out;
  auto word = [&](std::uint32_t w) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>(w >> (bigEndian ? 24 - 8 * i : 8 * i));
  };
  const auto n = static_cast<std::uint32_t>(pairs.size());
  const std::uint32_t originals = 28, translations = originals + 8 * n;
  std::uint32_t at = translations + 8 * n;
  std::string strings;
  std::vector<std::uint32_t> table;
  for (int side = 0; side < 2; ++side)
    for (const auto& pair : pairs) {
      const std::string& s = side == 0 ? pair.first : pair.second;
      table.push_back(static_cast<std::uint32_t>(s.size()));
      table.push_back(at);
      strings += s + '\0';
      at += static_cast<std::uint32_t>(s.size() + 1);
    }
  for (std::uint32_t w : {0x950412deu, 0u, n, originals, translations, 0u, 0u}) word(w);
  for (std::uint32_t w : table) word(w);
  return out + strings;
}

const std::vector<std::pair<std::string, std::string>> kCompiled = {
    {"", "Content-Type: text/plain; charset=UTF-8\n"},
    {std::string("12 s5\x04") + "夕方の教室。", "The classroom in the evening."},
    {"ui:ok", "OK"},  // no context: an entry of another program
    {std::string("ui:file_slot\x04") + "データ{0}" + '\0' + "データ{0}s", std::string("Slot {0}") + '\0' + "Slots"},
};

TEST(MoCatalog, ReadsEitherByteOrderWithContextsAndFirstPluralForms) {
  for (bool bigEndian : {false, true}) {
    std::string error;
    const std::optional<Catalog> catalog = ParseMoCatalog(MoFile(kCompiled, bigEndian), error);
    ASSERT_TRUE(catalog) << error;
    ASSERT_EQ(catalog->entries.size(), 3u) << "the header is no entry";
    EXPECT_EQ(catalog->entries[0].context, "12 s5");
    EXPECT_EQ(catalog->entries[0].original, "夕方の教室。");
    EXPECT_EQ(catalog->entries[0].translation, "The classroom in the evening.");
    EXPECT_EQ(catalog->entries[1].context, "");
    EXPECT_EQ(catalog->entries[1].original, "ui:ok");
    EXPECT_EQ(catalog->entries[2].original, "データ{0}");
    EXPECT_EQ(catalog->entries[2].translation, "Slot {0}");
  }
}

TEST(MoCatalog, RefusesEveryCutAndEveryOffsetOutsideTheFile) {
  const std::string whole = MoFile(kCompiled, false);
  std::string error;
  // The strings come last: any cut leaves a table pointing past the end.
  for (std::size_t size = 0; size < whole.size() - 1; ++size)
    EXPECT_FALSE(ParseMoCatalog(whole.substr(0, size), error)) << size;
  std::string count = whole;
  count[8] = '\xff';  // 255 strings: the tables run off the end
  EXPECT_FALSE(ParseMoCatalog(count, error));
  EXPECT_NE(error.find("outside the file"), std::string::npos);
  std::string length = whole;
  length[28 + 8] = '\xff', length[28 + 8 + 3] = '\xff';  // a string ~4 GB long
  EXPECT_FALSE(ParseMoCatalog(length, error));
  std::string offset = whole;
  offset[28 + 12 + 3] = '\x7f';  // a string ~2 GB in
  EXPECT_FALSE(ParseMoCatalog(offset, error));
  EXPECT_FALSE(ParseMoCatalog(std::string(64, '\0'), error));
  EXPECT_NE(error.find("magic"), std::string::npos);
  std::string revision = whole;
  revision[6] = '\x02';
  EXPECT_FALSE(ParseMoCatalog(revision, error));
}

TEST(MoCatalog, ReadsWhatMsgfmtMakesOfTheShippedEnglish) {
  const std::string po = std::string(PELMOT_OUTPUT_DIR) + "/lang/en.po";
  TempDir dir;
  const std::string mo = dir.path() + "/en.mo";
  if (std::system(("msgfmt -o '" + mo + "' '" + po + "' 2>/dev/null").c_str()) != 0) GTEST_SKIP() << "no msgfmt";
  std::string error;
  const std::optional<Catalog> source = ReadPoFile(po, error);
  ASSERT_TRUE(source) << error;
  const std::optional<Catalog> compiled = ParseMoCatalog(ReadWholeFile(mo, kMaxScenarioBytes, error).value(), error);
  ASSERT_TRUE(compiled) << error;
  std::map<std::string, std::pair<std::string, std::string>> expected, got;
  for (const CatalogEntry& e : source->entries) expected[e.context] = {e.original, e.translation};
  for (const CatalogEntry& e : compiled->entries) got[e.context] = {e.original, e.translation};
  EXPECT_GT(got.size(), 1000u);
  EXPECT_TRUE(got == expected);
}

class LangFolder : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(dir.path() + "/lang"); }
  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = dir.path() + "/lang/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  TempDir dir;
};

TEST_F(LangFolder, ListsPlainCodesAndLoadsEntriesWithTheirLines) {
  for (const char* name : {"pt_BR.po", "en.po", "ja.po", "x y.po", "fr.mo", "de.po~", ".po"}) Write(name, "");
  PoCatalogs catalogs(dir.path());
  EXPECT_EQ(catalogs.Languages(), (std::vector<std::string>{"en", "pt_BR"}));
  Write("en.po",
        "# the header\n"
        "msgid \"\"\n"
        "msgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"
        "\n"
        "#: scenario.txt:40\n"
        "#| msgctxt \"12 s4\"\n"
        "#| msgid \"前\"\n"
        "msgctxt \"12 s5\"\n"
        "msgid \"夕方の\"\n"
        "\"教室。\"\n"
        "msgstr \"The classroom in the evening.\"\n"
        "\n"
        "#, fuzzy\n"
        "msgid \"窓\"\n"
        "msgid_plural \"窓たち\"\n"
        "msgstr[0] \"A window\"\n"
        "msgstr[1] \"Windows\"\n"
        "\n"
        "#~ msgctxt \"9 s1\"\n"
        "#~ msgid \"古い\"\n"
        "#~ msgstr \"Old\"\n");
  std::string error;
  const std::optional<Catalog> catalog = catalogs.Load("en", error);
  ASSERT_TRUE(catalog) << error;
  ASSERT_EQ(catalog->entries.size(), 3u);
  const CatalogEntry& line = catalog->entries[0];
  EXPECT_EQ(line.context, "12 s5");
  EXPECT_EQ(line.original, "夕方の教室。");
  EXPECT_EQ(line.translation, "The classroom in the evening.");
  EXPECT_EQ(line.line, 8) << "the line of its msgctxt";
  EXPECT_FALSE(line.fuzzy || line.obsolete);
  EXPECT_EQ(catalog->entries[1].translation, "A window");
  EXPECT_TRUE(catalog->entries[1].fuzzy);
  EXPECT_EQ(catalog->entries[1].line, 14);
  EXPECT_TRUE(catalog->entries[2].obsolete);
  EXPECT_EQ(catalog->entries[2].line, 19);
}

TEST_F(LangFolder, RefusesWhatIsNoSoundCatalogAndSaysWhere) {
  PoCatalogs catalogs(dir.path());
  std::string error;
  auto refused = [&](const std::string& code, const std::string& why) {
    error.clear();
    EXPECT_FALSE(catalogs.Load(code, error)) << code;
    EXPECT_NE(error.find(why), std::string::npos) << code << ": " << error;
  };
  const std::string path = dir.path() + "/lang/";
  Write("syntax.po", "msgid \"a\"\nmsgstr \"b\"\n\nmsgid \"c\n");
  refused("syntax", path + "syntax.po:5: end-of-line within string");
  Write("twice.po", "msgid \"a\"\nmsgstr \"b\"\n\nmsgid \"a\"\nmsgstr \"c\"\n");
  refused("twice", path + "twice.po:4: duplicate message definition");
  Write("latin.po", "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n");
  refused("latin", "ISO-8859-1");
  Write("bytes.po", "msgid \"a\"\nmsgstr \"\xff\xfe\"\n");
  refused("bytes", "not valid UTF-8");
  Write("domain.po", "domain \"other\"\nmsgid \"a\"\nmsgstr \"b\"\n");
  refused("domain", "domain");
  refused("missing", path + "missing.po");
  {
    std::ofstream big(path + "big.po", std::ios::binary);
    big.seekp(static_cast<std::streamoff>(kMaxScenarioBytes) + 1);
    big.put('\n');
  }
  refused("big", "big.po");
  refused("../lang/en", "no language code");
  refused("", "no language code");
  refused("ja", "original");
}

TEST_F(LangFolder, TheBrowserReadsTheCompiledCatalogsOfThePackedContent) {
  Write("fr.mo", MoFile(kCompiled, true));
  Write("ja.mo", MoFile(kCompiled, false));
  Write("de.mo", "not a catalog");
  Write("en.po", "");
  SystemFiles files;
  MoCatalogs catalogs(files, dir.path());
  EXPECT_EQ(catalogs.Languages(), (std::vector<std::string>{"de", "fr"}));
  std::string error;
  const std::optional<Catalog> french = catalogs.Load("fr", error);
  ASSERT_TRUE(french) << error;
  EXPECT_EQ(french->entries.size(), 3u);
  EXPECT_FALSE(catalogs.Load("de", error));
  EXPECT_NE(error.find(dir.path() + "/lang/de.mo: not a compiled catalog"), std::string::npos) << error;
  EXPECT_FALSE(catalogs.Load("../lang/fr", error));
}

TEST_F(LangFolder, TemplateAndCatalogReadBackWithEveryEscape) {
  const std::vector<TemplateEntry> entries = {
      {"12 s5", "「\"引用\"」\\と\tタブ", "scenario.txt:40"},
      {"ui:no_font", "One line.\nAnother line.\n", "ui"},
      {"ui:beep", std::string("bell\x07") + "\r", "ui"},
  };
  const std::string pot = Write("game.pot", WritePoTemplate(entries));
  Write("en.po", WritePoCatalog(entries, {"\"Quoted\"\\ and\ttab", "One.\nTwo.\n", "bell"}, "en"));
  std::string error;
  const std::optional<Catalog> blank = ReadPoFile(pot, error);
  ASSERT_TRUE(blank) << error;
  const std::optional<Catalog> english = PoCatalogs(dir.path()).Load("en", error);
  ASSERT_TRUE(english) << error;
  ASSERT_EQ(blank->entries.size(), entries.size());
  ASSERT_EQ(english->entries.size(), entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(blank->entries[i].context, entries[i].context);
    EXPECT_EQ(blank->entries[i].original, entries[i].original);
    EXPECT_EQ(blank->entries[i].translation, "");
    EXPECT_EQ(english->entries[i].original, entries[i].original);
  }
  EXPECT_EQ(english->entries[0].translation, "\"Quoted\"\\ and\ttab");
  EXPECT_EQ(english->entries[1].translation, "One.\nTwo.\n");
}

}  // namespace
}  // namespace pelmot
