#include "scenes/text_ids.h"

namespace pelmot {
namespace {

std::string Place(int scene, const LaneKey& lane, int step) {
  std::string id = std::to_string(scene);
  if (const std::string name = lane.Name(); !name.empty()) id += " " + name;
  return id + " s" + std::to_string(step);
}

}  // namespace

std::string LineTextId(int scene, const LaneKey& lane, int step) { return Place(scene, lane, step); }

std::string OptionTextId(int scene, const LaneKey& lane, int step, ConditionSet conditions, int option) {
  std::string id = Place(scene, lane, step);
  if (!conditions.IsAny()) id += " " + conditions.Name();
  return id + " option " + std::to_string(option);
}

std::string GreetingTextId(int picture) { return "greeting " + std::to_string(picture); }

std::string UiTextId(std::string_view name) { return "ui:" + std::string(name); }

}  // namespace pelmot
