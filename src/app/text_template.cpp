#include "app/text_template.h"

#include <ostream>

#include "app/story_setup.h"
#include "platform/services.h"
#include "platform/ui_text.h"
#include "scenes/content_check.h"
#include "scenes/story_structure.h"
#include "scenes/text_ids.h"

namespace pelmot {
namespace {

void AddEntry(TextTemplate& out, const ScenarioEntry& e, const Story& structure) {
  const std::string reference = std::string(kScenarioFileName) + ":" + std::to_string(e.line);
  if (e.kind == ScenarioEntry::Kind::Greeting) {
    out.texts.push_back({{GreetingTextId(e.greeting), e.text, reference}, TextPlace::kGreeting});
    return;
  }
  const SceneScript* scene = structure.Find(e.scene);
  if (!scene) return;
  const LaneKey& lane = scene->lanes[EntryLane(e, *scene)].key;
  const bool window = scene->family == Family::Day;
  if (e.kind == ScenarioEntry::Kind::Line) {
    // A line the structure fixes is no entry: the scenario leaves it empty.
    if (!e.text.empty())
      out.texts.push_back({{LineTextId(e.scene, lane, e.step), e.text, reference},
                           window ? TextPlace::kWindowLine : TextPlace::kPageLine});
    return;
  }
  const ConditionSet conditions = EntryOptionConditions(e, *scene);
  for (std::size_t i = 0; i < e.options.size(); ++i)
    if (!e.options[i].empty())
      out.texts.push_back(
          {{OptionTextId(e.scene, lane, e.step, conditions, static_cast<int>(i) + 1), e.options[i], reference},
           window ? TextPlace::kWindowOption : TextPlace::kPageOption});
}

}  // namespace

TextTemplate MakeTextTemplate(const std::string& scenarioText, const std::string& fileName, const Story& structure) {
  TextTemplate out;
  const ParsedScenario parsed = ParseScenario(scenarioText);
  for (const ScenarioProblem& problem : CheckScenario(parsed, structure).problems)
    out.problems.push_back(FormatProblem(fileName, problem));
  if (!out.problems.empty()) return out;
  for (const ScenarioEntry& e : parsed.entries) AddEntry(out, e, structure);
  for (const UiTextEntry& ui : UiTexts())
    out.texts.push_back({{UiTextId(ui.name), std::string(ui.text), "ui"}, TextPlace::kInterface});
  return out;
}

std::vector<TemplateEntry> TemplateEntries(const TextTemplate& text) {
  std::vector<TemplateEntry> entries;
  entries.reserve(text.texts.size());
  for (const TemplateText& t : text.texts) entries.push_back(t.entry);
  return entries;
}

int ExtractText(Files& files, const std::string& contentDir, const std::string& output, std::ostream& out,
                std::ostream& err) {
  const std::string path = ScenarioPath(contentDir);
  std::string error;
  const auto scenario = files.ReadWhole(path, kMaxScenarioBytes, error);
  if (!scenario) {
    err << "pelmot: cannot read the scenario file " << error << "\n";
    return 1;
  }
  const TextTemplate text = MakeTextTemplate(*scenario, path, StoryStructure());
  if (!text.problems.empty()) {
    for (const std::string& problem : text.problems) err << problem << "\n";
    err << "pelmot: " << text.problems.size() << " problem(s) in " << path << "; no template written\n";
    return 1;
  }
  if (!files.ReplaceWhole(output, WritePoTemplate(TemplateEntries(text)), error)) {
    err << "pelmot: cannot write " << output << ": " << error << "\n";
    return 1;
  }
  out << output << "\n";
  return 0;
}

}  // namespace pelmot
