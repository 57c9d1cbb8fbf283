// Writes the placeholder scenario into the content folder, and beside it
// the English catalog of its words and the interface's:
//   generate_scenario SCENARIO_FILE [CATALOG_FILE]
// The catalog holds every text the translation template names; a text
// without English stops the build, so the catalog stays whole.
#include <fstream>
#include <iostream>

#include "app/text_template.h"
#include "english.h"
#include "scenes/default_scenario.h"
#include "scenes/story_structure.h"

namespace {

bool WriteFile(const char* path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) std::cerr << "generate_scenario: cannot write " << path << "\n";
  return static_cast<bool>(out);
}

// The English of each text, in order; false (with each text that has none
// on standard error) when some have none.
bool Translate(const pelmot::TextTemplate& text, std::vector<std::string>& english) {
  bool whole = true;
  for (const pelmot::TemplateText& t : text.texts) {
    const std::string& id = t.entry.context;
    auto found = t.place == pelmot::TextPlace::kInterface ? pelmot::tools::EnglishInterfaceText(id.substr(3))
                                                          : pelmot::tools::EnglishStoryText(t.entry.original);
    if (!found) {
      std::cerr << "generate_scenario: no English for \"" << id << "\" (" << t.entry.original << ")"
                << (t.place == pelmot::TextPlace::kInterface ? ": add it to tools/scenario/english_interface.cpp"
                                                             : ": add its words to tools/scenario/english_story.cpp")
                << "\n";
      whole = false;
    }
    english.push_back(found.value_or(""));
  }
  if (const std::string unknown = pelmot::tools::UnknownInterfaceNames(); !unknown.empty()) {
    std::cerr << "generate_scenario: English for interface texts that do not exist: " << unknown << "\n";
    whole = false;
  }
  return whole;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::cerr << "usage: generate_scenario SCENARIO_FILE [CATALOG_FILE]\n";
    return 2;
  }
  const std::string scenario = pelmot::DefaultScenarioText();
  if (!WriteFile(argv[1], scenario)) return 1;
  if (argc == 2) return 0;
  const pelmot::TextTemplate text = pelmot::MakeTextTemplate(scenario, argv[1], pelmot::StoryStructure());
  for (const std::string& problem : text.problems) std::cerr << problem << "\n";
  std::vector<std::string> english;
  if (!text.problems.empty() || !Translate(text, english)) return 1;
  return WriteFile(argv[2], pelmot::WritePoCatalog(pelmot::TemplateEntries(text), english, "en")) ? 0 : 1;
}
