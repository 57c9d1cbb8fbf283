// The scenario file: its syntax, the check against the story's structure
// (every problem, each with its line), the placeholder scenario, and
// `pelmot --check-content`; the translation template and the check of each
// language's catalog.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>

#include "app/story_setup.h"
#include "app/text_template.h"
#include "platform/cell_text.h"
#include "platform/common/files.h"
#include "platform/common/po_catalogs.h"
#include "platform/ui_text.h"
#include "scenes/compose_story.h"
#include "scenes/greeting_text.h"
#include "scenes/text_ids.h"
#include "story_fixture.h"

namespace pelmot {
namespace {

using testing::DefaultContent;
using testing::TempDir;

std::vector<std::string> Problems(const std::string& text) {
  return LoadScenarioText(text, "scenario.txt", StoryStructure()).problems;
}

// Line number (from 1) of the line that starts with `start`.
int LineOf(const std::string& text, const std::string& start) {
  const std::size_t at = text.find("\n" + start);
  if (at == std::string::npos) throw std::runtime_error("no line " + start);
  return 2 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
}

// The text with the line starting with `start` replaced (or dropped).
std::string Replaced(const std::string& text, const std::string& start, const std::string& line) {
  const std::size_t at = text.find("\n" + start) + 1;
  const std::size_t end = text.find('\n', at);
  return text.substr(0, at) + line + (line.empty() ? "" : "\n") + text.substr(end + 1);
}

std::string Loc(int line) { return "scenario.txt:" + std::to_string(line) + ": "; }

TEST(DefaultScenario, PassesTheCheckWithEveryLineOptionAndGreeting) {
  const std::string text = DefaultScenarioText();
  EXPECT_EQ(Problems(text), std::vector<std::string>{});
  const Content& content = *DefaultContent();
  for (int picture = 115; picture <= 129; ++picture) EXPECT_FALSE(content.GreetingLine(picture).empty()) << picture;
  EXPECT_TRUE(content.GreetingLine(114).empty());
  EXPECT_TRUE(content.GreetingLine(130).empty());
  // Lines say where the player is; options where they lead.
  ASSERT_NE(content.Step(12, 1, 33), nullptr);
  EXPECT_EQ(content.Step(12, 1, 33)->line.rfind("場面12 p0 s33", 0), 0u);
  ASSERT_NE(content.ChoiceOptions(10, 0, 4, 0), nullptr);
  EXPECT_NE((*content.ChoiceOptions(10, 0, 4, 0))[0].find("場面11"), std::string::npos);
  EXPECT_TRUE((*content.ChoiceOptions(10, 0, 4, 1))[2].empty());
  // And a few lines try the text window.
  EXPECT_NE(text.find("@r"), std::string::npos);
  EXPECT_NE(text.find("。」"), std::string::npos);
}

TEST(ScenarioSyntax, ReadsHeadersAndKeepsTheTextWithItsMarks) {
  const std::string text =
      "\xEF\xBB\xBF# a comment\r\n"
      "\n"
      "  12 p1 s40 pic=46 bg=3 |   ＠「はい。」@rそうです # not a comment  \r\n"
      "10 s4 C0,1 > 行く | 行かない\n"
      "greeting 115 | @久しぶり\n";
  ParsedScenario parsed = ParseScenario(text);
  ASSERT_TRUE(parsed.problems.empty()) << parsed.problems.front().message;
  ASSERT_EQ(parsed.entries.size(), 3u);
  const ScenarioEntry& line = parsed.entries[0];
  EXPECT_EQ(line.line, 3);
  EXPECT_EQ(line.scene, 12);
  EXPECT_EQ(line.pick, 1);
  EXPECT_EQ(line.step, 40);
  EXPECT_EQ(line.picture, 46);
  EXPECT_EQ(line.background, 3);
  EXPECT_EQ(line.text, "＠「はい。」@rそうです # not a comment");
  const ScenarioEntry& choice = parsed.entries[1];
  EXPECT_EQ(choice.kind, ScenarioEntry::Kind::Choice);
  EXPECT_EQ(choice.options, (std::vector<std::string>{"行く", "行かない"}));
  EXPECT_TRUE(choice.conditions->Holds(0) && choice.conditions->Holds(1) && !choice.conditions->Holds(2));
  EXPECT_EQ(parsed.entries[2].kind, ScenarioEntry::Kind::Greeting);
  EXPECT_EQ(parsed.entries[2].text, "@久しぶり");
  EXPECT_EQ(parsed.lineCount, 5);
}

TEST(ScenarioSyntax, NamesTheLineAndWhatWasExpected) {
  ParsedScenario parsed = ParseScenario(
      "no separator here\n0 s6 pic=x | a\n0 q6 | a\n0 | a\n0 s1 > a || b\n12 C9 s1 | a\n0 s1 | \xFF\xFE\n");
  ASSERT_EQ(parsed.problems.size(), 7u);
  EXPECT_NE(parsed.problems[0].message.find("expected a header"), std::string::npos);
  EXPECT_NE(parsed.problems[1].message.find("pic=N"), std::string::npos);
  EXPECT_NE(parsed.problems[2].message.find("unknown word \"q6\""), std::string::npos);
  EXPECT_NE(parsed.problems[3].message.find("names no step"), std::string::npos);
  EXPECT_NE(parsed.problems[4].message.find("option 2 is empty"), std::string::npos);
  EXPECT_NE(parsed.problems[5].message.find("Condition list"), std::string::npos);
  EXPECT_NE(parsed.problems[6].message.find("not UTF-8"), std::string::npos);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(parsed.problems[i].line, i + 1);
}

struct Fault {
  const char* name;
  std::function<std::string(const std::string&)> plant;
  std::string message;                          // part of the one problem
  std::function<int(const std::string&)> line;  // where it is reported
};

void PrintTo(const Fault& fault, std::ostream* os) { *os << fault.name; }

class ScenarioFault : public ::testing::TestWithParam<Fault> {};

TEST_P(ScenarioFault, IsReportedOnceWithFileAndLine) {
  const Fault& fault = GetParam();
  const std::string text = fault.plant(DefaultScenarioText());
  std::vector<std::string> problems = Problems(text);
  ASSERT_EQ(problems.size(), 1u) << ::testing::PrintToString(problems);
  EXPECT_EQ(problems[0].rfind(Loc(fault.line(text)), 0), 0u) << problems[0];
  EXPECT_NE(problems[0].find(fault.message), std::string::npos) << problems[0];
}

std::function<std::string(const std::string&)> Append(const std::string& line) {
  return [line](const std::string& text) { return text + line + "\n"; };
}
std::function<std::string(const std::string&)> Replace(const std::string& start, const std::string& line) {
  return [start, line](const std::string& text) { return Replaced(text, start, line); };
}
std::function<int(const std::string&)> AtLine(const std::string& start) {
  return [start](const std::string& text) { return LineOf(text, start); };
}
std::function<int(const std::string&)> AtEnd() {
  return [](const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); };
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ScenarioFault,
    ::testing::Values(
        Fault{"UnknownScene", Append("24 s0 | x"), "unknown scene 24", AtLine("24 s0")},
        Fault{"UnknownLane", Append("20 C3 s1 | x"), "scene 20 has no lane C3 (its lanes: C7, C6, C0)",
              AtLine("20 C3 s1")},
        Fault{"UnknownStep", Append("12 p0 s60 | x"), "has no step s60 (its steps are s32 ... s50)",
              AtLine("12 p0 s60")},
        Fault{"PickLaneNotNamed", Append("12 s40 | x"), "comes after the choice; name its lane", AtLine("12 s40")},
        Fault{"MissingLine", Replace("12 s5 ", ""), "scene 12 s5 has no line", AtLine("12 s4 ")},
        Fault{"LineOnAPictureStep", Append("10 s0 | x"), "is a picture step (picture 5)", AtLine("10 s0")},
        Fault{"LineOnAnUpdateStep", Append("12 p0 s32 | x"), "is an update step", AtLine("12 p0 s32")},
        Fault{"LineOnAnEmptyStep", Append("20 C6 s4 | x"), "is an empty step", AtLine("20 C6 s4")},
        Fault{"TextOnAFixedLine", Append("151 s31 | 終"), "shows the fixed line \"＜終わり＞\"", AtLine("151 s31")},
        Fault{"EmptyLine", Replace("12 s5 ", "12 s5 |"), "needs a line", AtLine("12 s5")},
        Fault{"ChoiceWithThreeOptions", Replace("11 s29 ", "11 s29 > a | b | c"), "needs 2 options, not 3",
              AtLine("11 s29")},
        Fault{"ChoiceWrittenAsALine", Replace("11 s29 ", "11 s29 | a"), "is a choice step", AtLine("11 s29")},
        Fault{"LineWrittenAsAChoice", Replace("12 s5 ", "12 s5 > a | b"), "is a line step, not a choice",
              AtLine("12 s5")},
        Fault{"OptionSetForAnUnservedCondition", Append("10 s4 C3 > a | b"), "never reached with Condition 3",
              AtLine("10 s4 C3")},
        Fault{"PictureOutOfRange", Replace("0 s6 ", "0 s6 pic=135 | x"), "picture 135 is outside 1 ... 134",
              AtLine("0 s6")},
        Fault{"BackgroundOutOfRange", Replace("15 s3 ", "15 s3 bg=21 | x"), "background 21 is outside 0 ... 20",
              AtLine("15 s3")},
        Fault{"PictureNotInTheScenesSet", Replace("0 s6 ", "0 s6 pic=50 | x"),
              "scene 0 shows picture 50, which is not among its pictures", AtLine("0 s6")},
        Fault{"PictureOfTheSetNeverShown", Replace("0 s0 ", "0 s0 | x"), "scene 0 never shows picture 1",
              AtLine("0 s0")},
        Fault{"BackgroundInAnEventScene", Replace("12 s5 ", "12 s5 bg=3 | x"),
              "scene 12 shows background 3, which is not among its backgrounds", AtLine("12 s5")},
        Fault{"PictureAfterTheLineMissing", Replace("0 s32 ", "0 s32 | x"), "loads a picture after its line",
              AtLine("0 s32")},
        Fault{"GivenTwice", Append("0 s6 | again"), "is given twice (first on line ", AtLine("0 s6 | again")},
        Fault{"MissingGreeting", Replace("greeting 117", ""), "no greeting line for picture 117", AtEnd()},
        Fault{"UnknownGreeting", Append("greeting 130 | x"), "not a greeting picture", AtLine("greeting 130")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScenarioCheck, ReportsEveryProblemInLineOrder) {
  std::string text = DefaultScenarioText();
  text = Replaced(text, "greeting 120", "");
  text = Replaced(text, "11 s29 ", "11 s29 > only one");
  text = Replaced(text, "0 s6 ", "0 s6 pic=999 | x");
  text += "24 s0 | x\n20 C3 s1 | x\n";
  std::vector<std::string> problems = Problems(text);
  ASSERT_EQ(problems.size(), 5u) << ::testing::PrintToString(problems);
  EXPECT_NE(problems[0].find("picture 999"), std::string::npos);
  EXPECT_NE(problems[1].find("needs 2 options, not 1"), std::string::npos);
  EXPECT_NE(problems[2].find("unknown scene 24"), std::string::npos);
  EXPECT_NE(problems[3].find("no lane C3"), std::string::npos);
  EXPECT_NE(problems[4].find("no greeting line for picture 120"), std::string::npos);
}

TEST(ScenarioCheck, AnEmptyFileListsEverythingMissing) {
  std::vector<std::string> problems = Problems("");
  EXPECT_GT(problems.size(), 2500u);
  for (const std::string& p : problems) EXPECT_EQ(p.rfind("scenario.txt:1: ", 0), 0u) << p;
}

TEST(ComposedStory, LineStepsShowTheirPictureBeforeTheLineExceptWhereItFollows) {
  const Story story = ComposeStory(StoryStructure(), *DefaultContent());
  const Lane& scene0 = story.Find(0)->lanes.front();
  const std::vector<Op>& first = scene0.At(0)->ops;
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].kind, OpKind::Picture);
  EXPECT_EQ(first[0].a, 1);
  EXPECT_EQ(first[1].kind, OpKind::Line);
  EXPECT_EQ(first[1].text, "場面0 s0");
  const std::vector<Op>& s32 = scene0.At(32)->ops;
  ASSERT_EQ(s32.size(), 2u);
  EXPECT_EQ(s32[0].kind, OpKind::Line);
  EXPECT_EQ(s32[1].kind, OpKind::Picture);
  EXPECT_EQ(s32[1].a, 7);
  const std::vector<Op>& withBackground = story.Find(15)->lanes.front().At(2)->ops;
  ASSERT_EQ(withBackground.size(), 2u);
  EXPECT_EQ(withBackground[0].kind, OpKind::Background);
  EXPECT_EQ(withBackground[0].a, 2);
}

class ContentFolder : public ::testing::Test {
 protected:
  void Write(const std::string& text) { std::ofstream(dir.path() + "/scenario.txt", std::ios::binary) << text; }
  TempDir dir;
  SystemFiles files;
  std::ostringstream out, err;
};

TEST_F(ContentFolder, CheckContentPassesTheDefaultScenario) {
  Write(DefaultScenarioText());
  EXPECT_EQ(CheckContent(files, dir.path(), out, err), 0);
  EXPECT_EQ(err.str(), "");
  EXPECT_NE(out.str().find("no problems"), std::string::npos);
}

TEST_F(ContentFolder, CheckContentListsEveryProblemAndFails) {
  std::string text = Replaced(DefaultScenarioText(), "12 s5 ", "12 s5 pic=500 | x");
  Write(text + "24 s0 | x\n");
  EXPECT_EQ(CheckContent(files, dir.path(), out, err), 1);
  const std::string file = dir.path() + "/scenario.txt";
  EXPECT_NE(err.str().find(file + ":" + std::to_string(LineOf(text, "12 s5")) + ": picture 500"), std::string::npos)
      << err.str();
  EXPECT_NE(err.str().find("unknown scene 24"), std::string::npos);
  EXPECT_NE(err.str().find("2 problem(s)"), std::string::npos);
}

TEST_F(ContentFolder, CheckContentFailsWithoutAScenario) {
  EXPECT_EQ(CheckContent(files, dir.path(), out, err), 1);
  EXPECT_NE(err.str().find("cannot read the scenario file"), std::string::npos);
}

// The original of a text of the default scenario's template.
std::string OriginalOf(const std::string& id) {
  for (const TemplateText& t : MakeTextTemplate(DefaultScenarioText(), "scenario.txt", StoryStructure()).texts)
    if (t.entry.context == id) return t.entry.original;
  throw std::runtime_error("no text " + id);
}

TEST_F(ContentFolder, CheckContentWarnsOfEachLanguagesGapsWithFileAndLine) {
  Write(DefaultScenarioText());
  std::filesystem::create_directories(dir.path() + "/lang");
  std::ofstream(dir.path() + "/lang/ja.po") << "not read: the original needs no catalog\n";
  std::ofstream(dir.path() + "/lang/xx.po", std::ios::binary)
      << "msgid \"\"\n"                                             // 1
         "msgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"  // 2
         "\n"                                                       // 3
         "msgctxt \"greeting 115\"\n"                               // 4
         "msgid \""
      << OriginalOf("greeting 115")
      << "\"\n"                                                         // 5
         "msgstr \"It has been over two weeks. How have you been?\"\n"  // 6
         "\n"                                                           // 7
         "#, fuzzy\n"                                                   // 8
         "msgctxt \"greeting 117\"\n"                                   // 9
         "msgid \""
      << OriginalOf("greeting 117")
      << "\"\n"                               // 10
         "msgstr \"About a week, is it?\"\n"  // 11
         "\n"                                 // 12
         "msgctxt \"greeting 118\"\n"         // 13
         "msgid \"前の原文\"\n"               // 14
         "msgstr \"We meet again.\"\n"        // 15
         "\n"                                 // 16
         "msgctxt \"10 s4 C0 option 1\"\n"    // 17
         "msgid \""
      << OriginalOf("10 s4 C0 option 1")
      << "\"\n"  // 18
         "msgstr \""
      << std::string(70, 'W')
      << "\"\n"                             // 19
         "\n"                               // 20
         "#~ msgctxt \"99 s1\"\n"           // 21
         "#~ msgid \"消えた行\"\n"          // 22
         "#~ msgstr \"A line no more\"\n";  // 23
  PoCatalogs catalogs(dir.path());
  CellTextEngine cells;
  EXPECT_EQ(CheckContent(files, dir.path(), out, err, &catalogs, &cells), 0) << "warnings only";
  const std::string file = dir.path() + "/lang/xx.po:";
  const std::string warnings = err.str();
  for (const std::string& expected :
       {file + "4: warning: \"greeting 116\" has no entry (untranslated)",  // where it belongs: after 115
        file + "9: warning: \"greeting 117\" is marked fuzzy",
        file + "13: warning: \"greeting 118\" is stale: it translates \"前の原文\"",
        file + "17: warning: \"10 s4 C0 option 1\" as an option is ",
        file + "21: warning: \"99 s1\" is obsolete (#~)"})
    EXPECT_NE(warnings.find(expected), std::string::npos) << expected;
  EXPECT_EQ(warnings.find("ja.po"), std::string::npos);
  const std::size_t total = MakeTextTemplate(DefaultScenarioText(), "", StoryStructure()).texts.size();
  EXPECT_NE(out.str().find(dir.path() + "/lang/xx.po: 3 of " + std::to_string(total) + " texts translated, " +
                           std::to_string(total - 4) + " untranslated, 1 fuzzy, 1 obsolete, 1 stale, 1 too wide"),
            std::string::npos)
      << out.str();
}

// The first Condition a set holds (0 for any).
int FirstHeld(ConditionSet set) {
  int c = 0;
  while (c < 7 && !set.Holds(c)) ++c;
  return c;
}

TEST_F(ContentFolder, TheExtractedTemplateHoldsEveryTextOnceWithItsOriginal) {
  Write(DefaultScenarioText());
  const std::string pot = dir.path() + "/game.pot";
  ASSERT_EQ(ExtractText(files, dir.path(), pot, out, err), 0) << err.str();
  EXPECT_EQ(out.str(), pot + "\n");
  std::string error;
  const std::optional<Catalog> read = ReadPoFile(pot, error);
  ASSERT_TRUE(read) << error;
  std::map<std::string, std::string> originals;
  for (const CatalogEntry& e : read->entries) {
    EXPECT_TRUE(originals.emplace(e.context, e.original).second) << "twice: " << e.context;
    EXPECT_EQ(e.translation, "");
    EXPECT_GT(e.line, 0);
  }
  auto expect = [&](const std::string& id, const std::string& original) {
    auto it = originals.find(id);
    if (it == originals.end()) return ADD_FAILURE() << "missing " << id;
    EXPECT_EQ(it->second, original) << id;
    originals.erase(it);
  };
  // Every line and option the checked scenario gives the story, and every
  // greeting and interface text, found from the content, not the entries.
  const Content& content = *DefaultContent();
  for (const SceneScript& scene : StoryStructure().Scenes())
    for (int l = 0; l < static_cast<int>(scene.lanes.size()); ++l)
      for (int s = scene.lanes[l].first; s <= scene.lanes[l].Last(); ++s) {
        const Step& step = *scene.lanes[l].At(s);
        const LaneKey& lane = scene.lanes[l].key;
        if (SlotOf(step) == StepSlot::Line)
          expect(LineTextId(scene.number, lane, s), content.Step(scene.number, l, s)->line);
        if (SlotOf(step) != StepSlot::Choice) continue;
        for (const Op& op : step.ops)
          for (const OptionSet& set : op.optionSets) {
            const Options& options = *content.ChoiceOptions(scene.number, l, s, FirstHeld(set.conditions));
            const ConditionSet named = scene.rule == LaneRule::ByCondition ? ConditionSet::Any() : set.conditions;
            for (int i = 0; i < set.count; ++i) expect(OptionTextId(scene.number, lane, s, named, i + 1), options[i]);
          }
      }
  for (int picture = 115; picture <= 129; ++picture) expect(GreetingTextId(picture), content.GreetingLine(picture));
  for (const UiTextEntry& ui : UiTexts()) expect(UiTextId(ui.name), std::string(ui.text));
  EXPECT_TRUE(originals.empty()) << originals.size() << " texts more, such as " << originals.begin()->first;
}

TEST_F(ContentFolder, ExtractTextWritesNothingForABrokenScenario) {
  Write("24 s0 | x\n");
  EXPECT_EQ(ExtractText(files, dir.path(), dir.path() + "/game.pot", out, err), 1);
  EXPECT_NE(err.str().find("unknown scene 24"), std::string::npos);
  EXPECT_TRUE(FileIsMissing(dir.path() + "/game.pot"));
}

TEST(GreetingText, TheTitleGreetsWithTheScenariosLine) {
  testing::StoryGame t;
  EXPECT_EQ(GreetingLine(t.game(), 128), DefaultContent()->GreetingLine(128));
  EXPECT_FALSE(GreetingLine(t.game(), 128).empty());
  EXPECT_EQ(GreetingLine(t.game(), 200), "");
  testing::TestGame bare;
  EXPECT_EQ(GreetingLine(bare.game(), 128), "") << "no content, no line";
}

TEST(InstallStory, RefusesABrokenScenarioAndInstallsASoundOne) {
  testing::TestGame t;
  std::filesystem::create_directories(t.game().paths.content);
  const std::string path = t.game().paths.content + "/scenario.txt";
  std::ofstream(path, std::ios::binary) << "24 s0 | x\n";
  std::ostringstream err;
  EXPECT_FALSE(InstallStory(t.game(), err));
  EXPECT_EQ(Scenes(t.game()).content, nullptr);
  EXPECT_NE(err.str().find(path + ":1: unknown scene 24"), std::string::npos);

  std::ofstream(path, std::ios::binary | std::ios::trunc) << DefaultScenarioText();
  EXPECT_TRUE(InstallStory(t.game(), err));
  ASSERT_NE(Scenes(t.game()).content, nullptr);
  EXPECT_FALSE(Scenes(t.game()).content->GreetingLine(125).empty());
  t.state().FlowMode = kModeScene;
  t.state().SceneNo = 2;
  RunFlow(t.game());
  t.Click(400, 300);
  EXPECT_EQ(t.state().StepNo[kModeScene], 1) << "the story's scenes run";
}

}  // namespace
}  // namespace pelmot
