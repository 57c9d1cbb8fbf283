// The stable IDs of the story's words, as translations know them: a line
// by the header that places it in the scenario ("12 p0 s33"), an option by
// its choice's header and place ("10 s4 C0 option 2"), a greeting by its
// picture ("greeting 125"), an interface text by its name ("ui:ok").
// Reordering the scenario changes none of them.
#pragma once

#include <string>
#include <string_view>

#include "scenes/scene_model.h"

namespace pelmot {

std::string LineTextId(int scene, const LaneKey& lane, int step);
// `option` counts from 1; `conditions` is the option set's (any: none named).
std::string OptionTextId(int scene, const LaneKey& lane, int step, ConditionSet conditions, int option);
std::string GreetingTextId(int picture);
std::string UiTextId(std::string_view name);

}  // namespace pelmot
