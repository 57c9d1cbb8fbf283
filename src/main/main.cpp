// pelmot: the game in a window, a headless script run, a content check or
// the story map.
#include <iostream>
#include "platform/common/memory_policy.h"

#include "app/options.h"
#include "app/story_setup.h"
#include "app/text_template.h"
#include "main/desktop.h"
#include "main/saves_command.h"
#include "persist/data_report.h"
#include "platform/common/codepage.h"
#include "platform/common/content_watcher.h"
#include "platform/common/files.h"
#include "platform/common/po_catalogs.h"
#include "platform/common/run_program.h"
#include "platform/common/text_factory.h"
#include "pelmot_version.h"
#include "storymap/map_command.h"

int main(int argc, char** argv) {
  pelmot::ReturnLargeBuffersWhenFreed();
  std::string error;
  auto options = pelmot::ParseOptions(argc, argv, error);
  if (!options) {
    std::cerr << "pelmot: " << error << "\n\n" << pelmot::UsageText();
    return 2;
  }
  if (options->help) {
    std::cout << pelmot::UsageText();
    return 0;
  }
  if (options->version) {
    std::cout << "pelmot " << PELMOT_VERSION << "\n";
    return 0;
  }
  if (!options->exportSaves.empty()) return pelmot::ExportSaves(*options, std::cout, std::cerr);
  if (!options->importSaves.empty()) return pelmot::ImportSaves(*options, std::cout, std::cerr);
  pelmot::SystemFiles files;
  if (!options->inspectSave.empty()) {
    pelmot::Cp932CodePage codePage;
    return pelmot::InspectDataFile(files, codePage, options->inspectSave, std::cout, std::cerr);
  }
  if (!options->storyMap.empty()) {
    pelmot::SystemPrograms programs;
    return pelmot::storymap::WriteStoryMap({options->storyMap, pelmot::ContentFolder(*options), options->dataDir},
                                           files, programs, std::cout, std::cerr);
  }
  if (!options->extractText.empty())
    return pelmot::ExtractText(files, pelmot::ContentFolder(*options), options->extractText, std::cout, std::cerr);
  if (options->checkContent) {
    const std::string content = pelmot::ContentFolder(*options);
    pelmot::PoCatalogs catalogs(content);
    if (options->watch) {
      pelmot::InotifyContentWatcher watch(content, {""}, nullptr);
      if (std::string problem; !watch.Ok(problem)) {
        std::cerr << "pelmot: " << problem << "\n";
        return 2;
      }
      return pelmot::WatchContentChecks(files, content, watch, std::cout);
    }
    auto font = pelmot::MakeWindowFont();
    return pelmot::CheckContent(files, content, std::cout, std::cerr, &catalogs, font.get());
  }
  if (options->headless) return pelmot::RunHeadless(*options);
  return pelmot::RunWindowed(*options);
}
