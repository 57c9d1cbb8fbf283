// The interpreter: runs one step of a scene per call, as RunFlow asks.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "scenes/content.h"
#include "scenes/scene_model.h"
#include "scenes/scene_table.h"

namespace pelmot {

class Game;

class StoryScenes : public SceneRunner {
 public:
  explicit StoryScenes(std::shared_ptr<const Story> story) : story_(std::move(story)) {}
  void Run(Game& game, ProcedureLabel procedure, int sceneNo) override;
  const Story& story() const { return *story_; }
  const Story* Script() const override { return story_.get(); }

 private:
  std::shared_ptr<const Story> story_;
};

// Puts the story into the game: the structure composed with `content`
// becomes the runner of Scenes(game), and the content its content.
void InstallStoryContent(Game& game, std::shared_ptr<const Content> content);

// Shows `text` as a scene of `family` writes its lines: a day scene in the
// message window, any other over the whole page.
void ShowSceneLine(Game& game, Family family, const std::string& text, std::string_view id = {});
// An empty page of scene `sceneNo`'s own kind, as play resumes there (a
// scene not in the story takes the whole page).
void ShowEmptyPageOf(Game& game, int sceneNo);

// Runs step StepNo[kModeScene] of `scene`: keeps the pick when the step follows a
// choice, finds the serving lane and runs the step's operations in order
// (op_walk.h), then shows the choice or hands on as they end.
void RunSceneStep(Game& game, const SceneScript& scene);

// The picture operation that ran last in `scene` up to and including
// `step`, following the lanes the Condition and pick select: a Picture
// (a: its number) or a Background (a: its index). Nothing when the steps
// show no picture, so the picture came from an earlier scene.
std::optional<Op> LastPictureOp(const SceneScript& scene, int step, int condition, int lastChoice);

}  // namespace pelmot
