// The scenario file: parsed and checked against the story's structure.
#include "fuzz_input.h"
#include "scenes/content_check.h"
#include "scenes/story_structure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pelmot::LoadScenarioText(pelmot::fuzz::Bytes(data, size), "scenario.txt", pelmot::StoryStructure());
  return 0;
}
