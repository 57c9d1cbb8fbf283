// The words a translation gives, each by its stable ID: every line and
// option of the scenario, every greeting and every interface text. The
// template (`pelmot --extract-text`) lists them for translators; the
// content check holds each language's catalog against them.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/catalog.h"

namespace pelmot {

class Files;
class Story;

// Where a text of the template is shown, for the checks of its width.
enum class TextPlace {
  kWindowLine,    // a line of a day scene, in the message window
  kPageLine,      // a line of the full-screen page
  kWindowOption,  // an option in the message window
  kPageOption,    // an option on the full-screen page
  kGreeting,
  kInterface,  // an interface text (UiText); entry.context is "ui:NAME"
};

struct TemplateText {
  TemplateEntry entry;
  TextPlace place;
};

struct TextTemplate {
  std::vector<TemplateText> texts;    // scenario lines, options and greetings in file order, then the interface
  std::vector<std::string> problems;  // the scenario's problems, formatted; then `texts` is empty
};

// The template of a scenario; its problems name `fileName`, its references
// "scenario.txt:LINE" or "ui".
TextTemplate MakeTextTemplate(const std::string& scenarioText, const std::string& fileName, const Story& structure);

// The entries alone, as a template file holds them.
std::vector<TemplateEntry> TemplateEntries(const TextTemplate& text);

// `pelmot --extract-text FILE.pot`: writes the content folder's template
// whole and names it on `out` (0), or lists the scenario's problems on
// `err` and writes nothing (1).
int ExtractText(Files& files, const std::string& contentDir, const std::string& output, std::ostream& out,
                std::ostream& err);

}  // namespace pelmot
