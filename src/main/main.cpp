// pelmot: the game in a window, a headless script run, a content check or
// the story map.
#include <iostream>

#include "persist/data_report.h"
#include "main/app.h"
#include "app/options.h"
#include "app/story_setup.h"
#include "storymap/map_command.h"

int main(int argc, char** argv) {
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
  if (!options->inspectSave.empty())
    return pelmot::InspectDataFile(options->inspectSave, std::cout, std::cerr);
  if (!options->storyMap.empty())
    return pelmot::storymap::WriteStoryMap({options->storyMap, pelmot::ContentFolder(*options), options->dataDir},
                                           std::cout, std::cerr);
  if (options->checkContent)
    return pelmot::CheckContent(pelmot::ContentFolder(*options), std::cout, std::cerr);
  if (options->headless) return pelmot::RunHeadless(*options);
  return pelmot::RunWindowed(*options);
}
