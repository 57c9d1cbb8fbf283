// Which procedure serves which scene number: 95 numbers between 0 and 160.
#pragma once

#include <memory>
#include <optional>

namespace pelmot {

class Content;
class Game;
class Story;

enum class SceneModule { ZEMEV, EV2, EV3 };

// "EV3 #12" is the twelfth procedure of module EV3.
struct ProcedureLabel {
  SceneModule module;
  int index;
  friend bool operator==(const ProcedureLabel&, const ProcedureLabel&) = default;
};

// The procedure of a scene number, or nothing for a number without one.
std::optional<ProcedureLabel> SceneProcedure(int sceneNo);

// Runs the procedures. The story's interpreter implements it; tests may put
// a scene of their own in its place.
class SceneRunner {
 public:
  virtual ~SceneRunner() = default;
  virtual void Run(Game& game, ProcedureLabel procedure, int sceneNo) = 0;
  // The scenes as data, when the runner has them (scenes written in code
  // have none): what a loaded game checks its step against.
  virtual const Story* Script() const { return nullptr; }
};

// What the game plays; a part of the game (game.parts).
struct PlayedScenes {
  // The scene procedures by scene number: the story's interpreter once a
  // story is installed; tests may put scenes of their own in.
  std::shared_ptr<SceneRunner> runner;
  // The scenario's words; may be empty in tests.
  std::shared_ptr<const Content> content;
};
PlayedScenes& Scenes(Game& game);
// Empty until something was put in.
const PlayedScenes& Scenes(const Game& game);

// The scenes the game plays, as data; null without a runner or for scenes
// written in code.
const Story* PlayedStory(const Game& game);

// Calls the procedure of sceneNo; a number without one does nothing.
void RunScene(Game& game, int sceneNo);

}  // namespace pelmot
