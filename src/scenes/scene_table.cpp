#include "scenes/scene_table.h"

#include <array>

#include "game/game.h"

namespace pelmot {
namespace {

constexpr ProcedureLabel Z(int i) { return {SceneModule::ZEMEV, i}; }
constexpr ProcedureLabel D(int i) { return {SceneModule::EV2, i}; }
constexpr ProcedureLabel E(int i) { return {SceneModule::EV3, i}; }

struct Entry {
  int scene;
  ProcedureLabel label;
};

// Module order does not follow scene numbers everywhere (53, 54, 63 and
// 101 ... 104), so every entry is written out.
constexpr std::array<Entry, 95> kTable = {{
    {0, Z(4)},    {1, Z(5)},    {2, Z(6)},    {3, Z(7)},    {4, Z(8)},    {5, Z(9)},    {10, D(1)},   {11, E(1)},
    {12, E(2)},   {13, E(3)},   {14, E(4)},   {15, D(2)},   {20, D(3)},   {21, E(5)},   {22, E(6)},   {23, E(7)},
    {25, D(4)},   {30, D(5)},   {31, E(8)},   {32, E(9)},   {33, E(10)},  {34, E(11)},  {35, D(6)},   {40, D(7)},
    {41, E(12)},  {42, E(13)},  {43, E(14)},  {45, D(8)},   {50, D(9)},   {51, E(15)},  {52, E(16)},  {53, E(21)},
    {54, E(18)},  {55, D(10)},  {60, D(11)},  {61, E(19)},  {62, E(20)},  {63, E(17)},  {64, E(22)},  {65, E(23)},
    {66, D(12)},  {70, D(13)},  {71, E(24)},  {72, E(25)},  {73, E(26)},  {74, E(27)},  {75, D(14)},  {80, D(15)},
    {81, E(28)},  {82, E(29)},  {83, E(30)},  {84, E(31)},  {85, D(16)},  {90, D(17)},  {91, E(32)},  {92, E(33)},
    {93, E(34)},  {94, E(35)},  {95, D(18)},  {100, D(19)}, {101, E(39)}, {102, E(37)}, {103, E(38)}, {104, E(36)},
    {105, E(40)}, {106, E(41)}, {107, E(42)}, {108, D(20)}, {110, D(21)}, {111, E(43)}, {112, E(44)}, {113, E(45)},
    {114, E(46)}, {115, D(22)}, {120, D(23)}, {121, E(47)}, {122, E(48)}, {123, E(49)}, {124, E(50)}, {125, D(24)},
    {130, D(25)}, {140, D(26)}, {141, E(51)}, {142, E(52)}, {150, D(27)}, {151, E(53)}, {152, E(54)}, {153, E(55)},
    {154, E(56)}, {155, E(57)}, {156, E(58)}, {157, E(59)}, {158, E(60)}, {159, E(61)}, {160, E(62)},
}};

}  // namespace

std::optional<ProcedureLabel> SceneProcedure(int sceneNo) {
  for (const Entry& e : kTable)
    if (e.scene == sceneNo) return e.label;
  return std::nullopt;
}

PlayedScenes& Scenes(Game& game) { return game.parts.Get<PlayedScenes>(); }

const PlayedScenes& Scenes(const Game& game) {
  static const PlayedScenes none;
  const PlayedScenes* played = game.parts.Find<PlayedScenes>();
  return played ? *played : none;
}

const Story* PlayedStory(const Game& game) {
  const SceneRunner* runner = Scenes(game).runner.get();
  return runner ? runner->Script() : nullptr;
}

void RunScene(Game& game, int sceneNo) {
  std::optional<ProcedureLabel> label = SceneProcedure(sceneNo);
  SceneRunner* runner = Scenes(game).runner.get();
  if (!label || !runner) return;
  runner->Run(game, *label, sceneNo);
}

}  // namespace pelmot
