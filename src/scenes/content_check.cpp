#include "scenes/content_check.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "platform/services.h"

namespace pelmot {
namespace {

constexpr int kAnyCondition = -1;
constexpr int kFirstPicture = 1, kLastPicture = 134;
constexpr int kLastBackground = 20;

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

std::string JoinNumbers(const std::vector<int>& numbers) {
  std::string out;
  for (int n : numbers) out += (out.empty() ? "" : ", ") + std::to_string(n);
  return out.empty() ? "none" : out;
}

std::string LaneNames(const SceneScript& scene) {
  std::string out;
  for (const Lane& lane : scene.lanes) out += (out.empty() ? "" : ", ") + lane.key.Name();
  return out;
}

const Op* FindOp(const Step& step, OpKind kind) {
  for (const Op& op : step.ops)
    if (op.kind == kind) return &op;
  return nullptr;
}

bool OptionsByCondition(const Op& choice) {
  return choice.optionSets.size() > 1 || !choice.optionSets.front().conditions.IsAny();
}

class Checker {
 public:
  Checker(const ParsedScenario& parsed, const Story& structure)
      : parsed_(parsed), structure_(structure), content_(std::make_shared<Content>()) {}

  ScenarioCheck Run() {
    problems_ = parsed_.problems;
    for (const ScenarioEntry& e : parsed_.entries) CheckEntry(e);
    for (const SceneScript& scene : structure_.Scenes()) {
      CheckNothingMissing(scene);
      CheckPictureSets(scene);
    }
    CheckGreetingsComplete();
    std::stable_sort(problems_.begin(), problems_.end(),
                     [](const ScenarioProblem& a, const ScenarioProblem& b) { return a.line < b.line; });
    return {content_, problems_};
  }

 private:
  // Where an entry of the scene sits, for problems about what is missing.
  using LaneSteps = std::map<int, int>;  // step to line

  void Problem(int line, const std::string& message) { problems_.push_back({line, message}); }

  int LastLine() const { return std::max(1, parsed_.lineCount); }

  void CheckEntry(const ScenarioEntry& e) {
    if (e.kind == ScenarioEntry::Kind::Greeting) return CheckGreeting(e);
    const SceneScript* scene = structure_.Find(e.scene);
    if (!scene) return Problem(e.line, "unknown scene " + std::to_string(e.scene));
    firstLineOfScene_.emplace(e.scene, e.line);
    std::optional<int> lane = ResolveLane(e, *scene);
    if (!lane) return;
    const Step* step = scene->lanes[*lane].At(e.step);
    if (!step) return Problem(e.line, NoSuchStep(*scene, *lane, e.step));
    const std::string header = "scene " + StepHeader(*scene, *lane, e.step);
    const std::optional<ConditionSet> optionConditions =
        scene->rule == LaneRule::ByCondition ? std::nullopt : e.conditions;
    switch (SlotOf(*step)) {
      case StepSlot::Choice:
        return CheckChoice(e, *scene, *lane, *FindOp(*step, OpKind::Choice), optionConditions, header);
      case StepSlot::Line:
      case StepSlot::FixedLine:
        if (optionConditions) return Problem(e.line, "scene " + std::to_string(e.scene) + " has no lanes by Condition");
        return CheckLine(e, *scene, *lane, *step, header);
      case StepSlot::None:
        return Problem(e.line, header + " is " + DescribeStep(*step) + "; the scenario gives it nothing");
    }
  }

  std::string NoSuchStep(const SceneScript& scene, int lane, int step) const {
    const Lane& l = scene.lanes[lane];
    std::string name = std::to_string(scene.number);
    if (!l.key.Name().empty()) name += " " + l.key.Name();
    return "scene " + name + " has no step s" + std::to_string(step) + " (its steps are s" + std::to_string(l.first) +
           " ... s" + std::to_string(l.Last()) + ")";
  }

  std::optional<int> ResolveLane(const ScenarioEntry& e, const SceneScript& scene) {
    const std::string name = "scene " + std::to_string(scene.number);
    if (scene.rule != LaneRule::ByPick && e.pick != kAnyPick)
      return Refuse(e, name + " has no lanes by pick; leave out p" + std::to_string(e.pick));
    switch (scene.rule) {
      case LaneRule::Single: return 0;
      case LaneRule::ByCondition: return ConditionLane(e, scene, name);
      case LaneRule::ByPick: break;
    }
    if (e.conditions) return Refuse(e, name + " has no lanes by Condition");
    const int choice = scene.SharedChoiceStep();
    if (e.step <= choice) {
      if (e.pick == kAnyPick) return 0;
      return Refuse(e, name + " s" + std::to_string(e.step) + " comes before the choice (s" + std::to_string(choice) +
                           ") and belongs to no pick lane; leave out p" + std::to_string(e.pick));
    }
    if (e.pick == kAnyPick)
      return Refuse(e, name + " s" + std::to_string(e.step) + " comes after the choice; name its lane, p0 or p1");
    return 1 + e.pick;
  }

  std::optional<int> ConditionLane(const ScenarioEntry& e, const SceneScript& scene, const std::string& name) {
    if (!e.conditions) return Refuse(e, name + " has lanes by Condition; name one (" + LaneNames(scene) + ")");
    for (std::size_t i = 0; i < scene.lanes.size(); ++i)
      if (scene.lanes[i].key.conditions == *e.conditions) return static_cast<int>(i);
    return Refuse(e, name + " has no lane " + e.conditions->Name() + " (its lanes: " + LaneNames(scene) + ")");
  }

  std::optional<int> Refuse(const ScenarioEntry& e, const std::string& message) {
    Problem(e.line, message);
    return std::nullopt;
  }

  void CheckChoice(const ScenarioEntry& e, const SceneScript& scene, int lane, const Op& choice,
                   std::optional<ConditionSet> conditions, const std::string& header) {
    if (e.kind != ScenarioEntry::Kind::Choice) {
      MarkGiven(e, scene, lane, choice);
      return Problem(e.line, header + " is a choice step: write its options after \">\"");
    }
    if (e.picture || e.background) return Problem(e.line, header + " is a choice step; it shows no picture");
    if (!OptionsByCondition(choice)) {
      if (conditions) return Problem(e.line, header + " offers one set of options; name no Condition");
      if (!FirstTime(e, scene, lane, kAnyCondition, header)) return;
      if (!CountFits(e, choice.optionSets.front().count, header)) return;
      content_->SetOptions(scene.number, lane, e.step, ConditionSet::Any(), ToOptions(e.options));
      return;
    }
    if (!conditions)
      return Problem(e.line, header + " offers options by Condition; name it (" + SetNames(choice) + ")");
    for (int c = 0; c <= 7; ++c) {
      if (!conditions->Holds(c)) continue;
      const OptionSet* set = SetFor(choice, c);
      if (!set)
        return Problem(e.line, "scene " + std::to_string(scene.number) + " is never reached with Condition " +
                                   std::to_string(c) + "; its option sets are " + SetNames(choice));
      if (!FirstTime(e, scene, lane, c, header + " C" + std::to_string(c))) return;
    }
    for (int c = 0; c <= 7; ++c)
      if (conditions->Holds(c) && !CountFits(e, SetFor(choice, c)->count, header + " C" + std::to_string(c))) return;
    content_->SetOptions(scene.number, lane, e.step, *conditions, ToOptions(e.options));
  }

  // A misplaced entry still stands for its step: one problem, not two.
  void MarkGiven(const ScenarioEntry& e, const SceneScript& scene, int lane, const Op& choice) {
    for (const OptionSet& set : choice.optionSets)
      for (int c = kAnyCondition; c <= 7; ++c)
        if (set.conditions.IsAny() ? c == kAnyCondition : c >= 0 && set.conditions.Holds(c))
          linesOf_[{scene.number, lane, c}].emplace(e.step, e.line);
  }

  static const OptionSet* SetFor(const Op& choice, int condition) {
    for (const OptionSet& set : choice.optionSets)
      if (set.conditions.Holds(condition)) return &set;
    return nullptr;
  }

  static std::string SetNames(const Op& choice) {
    std::string out;
    for (const OptionSet& set : choice.optionSets) out += (out.empty() ? "" : ", ") + set.conditions.Name();
    return out;
  }

  bool CountFits(const ScenarioEntry& e, int count, const std::string& header) {
    const int given = static_cast<int>(e.options.size());
    if (given == count) return true;
    Problem(e.line, header + " needs " + std::to_string(count) + " options, not " + std::to_string(given));
    return false;
  }

  static Options ToOptions(const std::vector<std::string>& options) {
    Options out{};
    for (std::size_t i = 0; i < options.size() && i < out.size(); ++i) out[i] = options[i];
    return out;
  }

  // Records the entry; a second entry for the same step is a problem.
  bool FirstTime(const ScenarioEntry& e, const SceneScript& scene, int lane, int condition, const std::string& header) {
    auto [it, fresh] = linesOf_[{scene.number, lane, condition}].emplace(e.step, e.line);
    if (fresh) return true;
    Problem(e.line, header + " is given twice (first on line " + std::to_string(it->second) + ")");
    return false;
  }

  void CheckLine(const ScenarioEntry& e, const SceneScript& scene, int lane, const Step& step,
                 const std::string& header) {
    if (!FirstTime(e, scene, lane, kAnyCondition, header)) return;
    if (e.kind == ScenarioEntry::Kind::Choice)
      return Problem(e.line, header + " is a line step, not a choice: write its line after \"|\"");
    const Op& line = *FindOp(step, OpKind::Line);
    if (line.fixedText && !e.text.empty())
      return Problem(e.line, header + " shows the fixed line " + Quote(line.text) + "; leave its text empty");
    if (!line.fixedText && e.text.empty()) return Problem(e.line, header + " needs a line after \"|\"");
    StepWords words{e.text, 0, kNoBackground};
    if (e.picture && (*e.picture < kFirstPicture || *e.picture > kLastPicture)) {
      Problem(e.line, "picture " + std::to_string(*e.picture) + " is outside 1 ... 134");
    } else if (e.picture) {
      words.picture = *e.picture;
      pictures_[scene.number].emplace(*e.picture, e.line);
    }
    if (e.background && *e.background > kLastBackground) {
      Problem(e.line, "background " + std::to_string(*e.background) + " is outside 0 ... 20");
    } else if (e.background) {
      words.background = *e.background;
      backgrounds_[scene.number].emplace(*e.background, e.line);
    }
    content_->SetStep(scene.number, lane, e.step, std::move(words));
  }

  void CheckGreeting(const ScenarioEntry& e) {
    if (e.greeting < kFirstGreetingPicture || e.greeting > kLastGreetingPicture)
      return Problem(e.line, "greeting " + std::to_string(e.greeting) + " is not a greeting picture (115 ... 129)");
    if (e.text.empty()) return Problem(e.line, "greeting " + std::to_string(e.greeting) + " needs a line after \"|\"");
    auto [it, fresh] = greetings_.emplace(e.greeting, e.line);
    if (!fresh)
      return Problem(e.line, "greeting " + std::to_string(e.greeting) + " is given twice (first on line " +
                                 std::to_string(it->second) + ")");
    content_->SetGreeting(e.greeting, e.text);
  }

  // The line of the nearest entry before `step` in the same lane, else the
  // scene's first entry, else the end of the file.
  int AnchorFor(const SceneScript& scene, int lane, int step) const {
    int anchor = 0, best = -1;
    for (int condition = kAnyCondition; condition <= 7; ++condition) {
      auto it = linesOf_.find({scene.number, lane, condition});
      if (it == linesOf_.end()) continue;
      auto after = it->second.lower_bound(step);
      if (after == it->second.begin()) continue;
      --after;
      if (after->first > best) best = after->first, anchor = after->second;
    }
    if (anchor) return anchor;
    auto first = firstLineOfScene_.find(scene.number);
    return first != firstLineOfScene_.end() ? first->second : LastLine();
  }

  bool Given(const SceneScript& scene, int lane, int condition, int step) const {
    auto it = linesOf_.find({scene.number, lane, condition});
    return it != linesOf_.end() && it->second.count(step);
  }

  bool MissesPicture(const SceneScript& scene, int lane, int step) const {
    const StepWords* words = content_->Step(scene.number, lane, step);
    return words && words->picture == 0;
  }

  void CheckNothingMissing(const SceneScript& scene) {
    for (int l = 0; l < static_cast<int>(scene.lanes.size()); ++l) {
      const Lane& lane = scene.lanes[l];
      for (int s = lane.first; s <= lane.Last(); ++s) CheckStepGiven(scene, l, s, *lane.At(s));
    }
  }

  void CheckStepGiven(const SceneScript& scene, int lane, int s, const Step& step) {
    const std::string header = "scene " + StepHeader(scene, lane, s);
    switch (SlotOf(step)) {
      case StepSlot::Line:
        if (!Given(scene, lane, kAnyCondition, s))
          Problem(AnchorFor(scene, lane, s), header + " has no line");
        else if (LoadsPictureAfterLine(step) && MissesPicture(scene, lane, s))
          Problem(AnchorFor(scene, lane, s + 1), header + " loads a picture after its line; give it pic=N");
        break;
      case StepSlot::Choice:
        for (const OptionSet& set : FindOp(step, OpKind::Choice)->optionSets) {
          if (set.conditions.IsAny()) {
            if (!Given(scene, lane, kAnyCondition, s)) Problem(AnchorFor(scene, lane, s), header + " has no options");
            continue;
          }
          for (int c = 0; c <= 7; ++c)
            if (set.conditions.Holds(c) && !Given(scene, lane, c, s))
              Problem(AnchorFor(scene, lane, s), header + " C" + std::to_string(c) + " has no options");
        }
        break;
      case StepSlot::FixedLine:
      case StepSlot::None: break;
    }
  }

  // Pictures the structure shows by itself (the picture steps).
  static std::set<int> StructurePictures(const SceneScript& scene) {
    std::set<int> shown;
    for (const Lane& lane : scene.lanes)
      for (const Step& step : lane.steps)
        for (const Op& op : step.ops)
          if (op.kind == OpKind::Picture && op.a > 0) shown.insert(op.a);
    return shown;
  }

  void CheckPictureSets(const SceneScript& scene) {
    std::map<int, int> pictures = pictures_[scene.number];
    for (int n : StructurePictures(scene)) pictures.emplace(n, 0);
    CompareSet(scene, "picture", pictures, scene.pictures);
    CompareSet(scene, "background", backgrounds_[scene.number], scene.backgrounds);
  }

  void CompareSet(const SceneScript& scene, const std::string& what, const std::map<int, int>& shown,
                  const std::vector<int>& wanted) {
    const std::string name = "scene " + std::to_string(scene.number);
    const std::string set = " (its " + what + "s: " + JoinNumbers(wanted) + ")";
    for (int n : wanted)
      if (!shown.count(n))
        Problem(AnchorFor(scene, 0, 0), name + " never shows " + what + " " + std::to_string(n) + set);
    for (auto [n, line] : shown)
      if (std::find(wanted.begin(), wanted.end(), n) == wanted.end())
        Problem(line ? line : LastLine(),
                name + " shows " + what + " " + std::to_string(n) + ", which is not among its " + what + "s" + set);
  }

  void CheckGreetingsComplete() {
    for (int picture = kFirstGreetingPicture; picture <= kLastGreetingPicture; ++picture)
      if (!greetings_.count(picture))
        Problem(LastLine(), "no greeting line for picture " + std::to_string(picture) + " (greeting " +
                                std::to_string(picture) + " | ...)");
  }

  const ParsedScenario& parsed_;
  const Story& structure_;
  std::shared_ptr<Content> content_;
  std::vector<ScenarioProblem> problems_;
  // (scene, lane, Condition of an option set or kAnyCondition) to step to line.
  std::map<std::tuple<int, int, int>, LaneSteps> linesOf_;
  std::map<int, int> firstLineOfScene_;
  std::map<int, std::map<int, int>> pictures_, backgrounds_;  // scene to number to first line
  std::map<int, int> greetings_;                              // picture to line
};

}  // namespace

ScenarioCheck CheckScenario(const ParsedScenario& parsed, const Story& structure) {
  return Checker(parsed, structure).Run();
}

std::string FormatProblem(const std::string& file, const ScenarioProblem& problem) {
  return file + ":" + std::to_string(problem.line) + ": " + problem.message;
}

LoadedScenario LoadScenarioText(const std::string& text, const std::string& fileName, const Story& structure) {
  ScenarioCheck check = CheckScenario(ParseScenario(text), structure);
  LoadedScenario loaded;
  loaded.content = check.content;
  for (const ScenarioProblem& p : check.problems) loaded.problems.push_back(FormatProblem(fileName, p));
  return loaded;
}

LoadedScenario LoadScenarioFile(Files& files, const std::string& path, const Story& structure) {
  std::string error;
  auto text = files.ReadWhole(path, kMaxScenarioBytes, error);
  if (!text) return {nullptr, {"pelmot: cannot read the scenario file " + error}};
  return LoadScenarioText(*text, path, structure);
}

int EntryLane(const ScenarioEntry& e, const SceneScript& scene) {
  if (scene.rule == LaneRule::ByPick) return e.step <= scene.SharedChoiceStep() ? 0 : 1 + e.pick;
  if (scene.rule == LaneRule::Single || !e.conditions) return 0;
  for (std::size_t i = 0; i < scene.lanes.size(); ++i)
    if (scene.lanes[i].key.conditions == *e.conditions) return static_cast<int>(i);
  return 0;
}

ConditionSet EntryOptionConditions(const ScenarioEntry& e, const SceneScript& scene) {
  return scene.rule == LaneRule::ByCondition || !e.conditions ? ConditionSet::Any() : *e.conditions;
}

namespace {

bool EverShown(const ScenarioEntry& e, const SceneScript& scene, int lane, const ShownTest& shown) {
  const bool optionsByCondition =
      e.kind == ScenarioEntry::Kind::Choice && e.conditions && scene.rule != LaneRule::ByCondition;
  if (!optionsByCondition) return shown(e.scene, lane, e.step, kAnyCondition);
  for (int c = 0; c <= 7; ++c)
    if (e.conditions->Holds(c) && shown(e.scene, lane, e.step, c)) return true;
  return false;
}

}  // namespace

std::vector<std::string> UnshownEntryWarnings(const std::string& text, const std::string& fileName,
                                              const Story& structure, const ShownTest& shown) {
  std::vector<std::string> warnings;
  for (const ScenarioEntry& e : ParseScenario(text).entries) {
    const SceneScript* scene = e.kind == ScenarioEntry::Kind::Greeting ? nullptr : structure.Find(e.scene);
    if (!scene) continue;
    const int lane = EntryLane(e, *scene);
    if (lane >= static_cast<int>(scene->lanes.size()) || EverShown(e, *scene, lane, shown)) continue;
    const std::string what = e.kind == ScenarioEntry::Kind::Choice ? "these options" : "this line";
    warnings.push_back(fileName + ":" + std::to_string(e.line) + ": warning: no play ever shows " + what + " (scene " +
                       StepHeader(*scene, lane, e.step) + ")");
  }
  return warnings;
}

}  // namespace pelmot
