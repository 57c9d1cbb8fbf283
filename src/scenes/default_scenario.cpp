#include "scenes/default_scenario.h"

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

#include "scenes/content.h"
#include "scenes/story_structure.h"

namespace pelmot {
namespace {

using Slot = std::pair<int, int>;  // lane, step

struct Visual {
  int picture = 0;
  int background = kNoBackground;
};

// One line per greeting picture, by the rule that shows it.
const std::map<int, const char*> kGreetings = {
    {115, "二週間以上ぶりですね。お元気でしたか。"},
    {116, "数日ぶりですね。"},
    {117, "一週間ぶりくらいでしょうか。"},
    {119, "二、三日ぶりですね。"},
    {120, "こんにちは。午後のひとときですね。"},
    {121, "一か月以上ぶりですね。待っていました。"},
    {122, "こんばんは。夜更かしですね。"},
    {123, "おはようございます。"},
    {124, "こんにちは。お昼ですね。"},
    {125, "おかえりなさい。すぐに戻ってきましたね。"},
    {126, "こんな真夜中に……眠れないのですか。"},
    {127, "最初の結末を見届けましたね。"},
    {128, "六つ目の結末を見届けましたね。"},
    {129, "最後の結末を見届けてくれて、ありがとう。"},
    {118, "また会えましたね。"},
};

// Lines that try the text window: row breaks, the line-start rule, a page
// continued with "@", and texts longer than a page.
const char* const kThirtyOneWide = "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほま";

std::string LongWindowText() {
  std::string text = "　長い行の例：";
  for (int i = 1; i <= 6; ++i) text += "これは何ページにもわたる長い行です。クリックするたびに続きが出ます。";
  return text;
}

std::string ManyRows() {
  std::string text;
  for (int i = 1; i <= 20; ++i) text += "@r" + std::to_string(i) + "行目";
  return text;
}

std::string DemoText(int scene, int step) {
  if (scene == 0 && step == 1) return "@r改行の例。@r一行目のあとで改行。@r二行目のあとで改行。@r三行目でおしまい。";
  if (scene == 0 && step == 2) return std::string("@r") + kThirtyOneWide + "。句点は行の終わりに付きます。";
  if (scene == 0 && step == 3) return std::string("@r") + kThirtyOneWide + "。」と二つ続くと、どちらも次の行へ。";
  if (scene == 0 && step == 4) return "　二ページにわたる行：" + ManyRows();
  if (scene == 15 && step == 1) return LongWindowText();
  return "";
}

std::string Signed(int d) { return d < 0 ? "-" + std::to_string(-d) : "+" + std::to_string(d); }

std::string DescribeOps(const std::vector<Op>& ops) {
  std::string out;
  auto add = [&out](const std::string& part) { out += (out.empty() ? "" : "、") + part; };
  for (const Op& op : ops) {
    switch (op.kind) {
      case OpKind::AddParam: add("P" + std::to_string(op.a) + Signed(op.b)); break;
      case OpKind::SetCondition: add("C:=" + std::to_string(op.a)); break;
      case OpKind::SetDay: add("日付:=" + std::to_string(op.a)); break;
      case OpKind::Jump: add("s" + std::to_string(op.a) + "へ"); break;
      case OpKind::GoToScene: add("場面" + std::to_string(op.a) + "へ"); break;
      case OpKind::GameOver: add("ゲームオーバー"); break;
      case OpKind::Ending: add("エンディング" + std::to_string(op.a)); break;
      case OpKind::SelectEnding: add("エンディングを選ぶ"); break;
      case OpKind::Branch: add("選んだ道へ分かれる"); break;
      case OpKind::Picture:
      case OpKind::Background:
      case OpKind::Line:
      case OpKind::StopSkip:
      case OpKind::Choice:
      case OpKind::Advance: break;
    }
  }
  return out.empty() ? "次へ" : out;
}

// A step that changes values or hands on, with no words of its own.
bool ChangesOrHandsOn(const Step* step) {
  return step && !step->IsEmpty() && SlotOf(*step) == StepSlot::None && step->ops.front().kind != OpKind::Picture;
}

bool StopsSkipping(const Step& step) {
  return std::any_of(step.ops.begin(), step.ops.end(), [](const Op& op) { return op.kind == OpKind::StopSkip; });
}

// The next step that is not empty, if any.
const Step* NextNonEmpty(const Lane& lane, int step) {
  for (int s = step + 1; s <= lane.Last(); ++s)
    if (!lane.At(s)->IsEmpty()) return lane.At(s);
  return nullptr;
}

std::string LineText(const SceneScript& scene, int lane, int step) {
  std::string text = "場面" + StepHeader(scene, lane, step);
  const Lane& l = scene.lanes[lane];
  const Step* before = l.At(step - 1);
  if (ChangesOrHandsOn(before) && before->ops.front().kind != OpKind::Branch)
    text += "　済：" + DescribeOps(before->ops);
  const Step* next = l.At(step + 1);
  if (ChangesOrHandsOn(next)) text += "　次：" + DescribeOps(next->ops);
  const Step* coming = NextNonEmpty(l, step);
  if (StopsSkipping(*l.At(step)))
    text += "　さあ、どうする？";
  else if (coming && coming->IsChoice())
    text += "　（ここでは早送りが止まらない）";
  return text + DemoText(scene.number, step);
}

// What picking `pick` leads to: the pick lane's update step, or the way of
// the scene's next branch step that the pick and Condition select.
std::string WhereOptionLeads(const SceneScript& scene, int lane, int step, int pick, int condition) {
  if (scene.rule == LaneRule::ByPick) {
    const Step* update = scene.lanes[1 + pick].At(step + 1);
    return update ? DescribeOps(update->ops) : "?";
  }
  const Lane& l = scene.lanes[lane];
  for (int s = step + 1; s <= l.Last(); ++s) {
    const Step* branch = l.At(s);
    if (branch->IsEmpty() || branch->ops.front().kind != OpKind::Branch) continue;
    for (const BranchCase& c : branch->ops.front().cases)
      if (c.Holds(pick, condition)) return DescribeOps(c.ops);
    return "?";
  }
  return "?";
}

int FirstCondition(ConditionSet set) {
  for (int c = 0; c <= 7; ++c)
    if (set.Holds(c) && !set.IsAny()) return c;
  return -1;
}

// Spreads `items` evenly over `slots`, one per slot, starting `offset`
// (in halves of a share) into each share.
void Spread(const std::vector<int>& items, const std::vector<Slot>& slots, std::map<Slot, Visual>& plan,
            bool backgrounds) {
  const std::size_t n = items.size(), m = slots.size();
  if (n == 0 || m == 0) return;
  for (std::size_t j = 0; j < n; ++j) {
    const std::size_t start = backgrounds ? ((2 * j + 1) * m / (2 * n)) % m : j * m / n;
    for (std::size_t k = 0; k < m; ++k) {
      Visual& v = plan[slots[(start + k) % m]];
      int& field = backgrounds ? v.background : v.picture;
      if (field != (backgrounds ? kNoBackground : 0)) continue;
      field = items[j];
      break;
    }
  }
}

std::map<Slot, Visual> PlanVisuals(const SceneScript& scene) {
  std::vector<Slot> slots;
  std::set<int> shownByStructure;
  for (int l = 0; l < static_cast<int>(scene.lanes.size()); ++l) {
    const Lane& lane = scene.lanes[l];
    for (int s = lane.first; s <= lane.Last(); ++s) {
      const Step& step = *lane.At(s);
      const bool afterPictureStep =
          s > lane.first && !lane.At(s - 1)->IsEmpty() && lane.At(s - 1)->ops.front().kind == OpKind::Picture;
      const StepSlot slot = SlotOf(step);
      if ((slot == StepSlot::Line || slot == StepSlot::FixedLine) && !afterPictureStep) slots.push_back({l, s});
      for (const Op& op : step.ops)
        if (op.kind == OpKind::Picture && op.a > 0) shownByStructure.insert(op.a);
    }
  }
  std::vector<int> pictures;
  for (int n : scene.pictures)
    if (!shownByStructure.count(n)) pictures.push_back(n);
  std::map<Slot, Visual> plan;
  Spread(pictures, slots, plan, false);
  Spread(scene.backgrounds, slots, plan, true);
  return plan;
}

// The picture-after-line step needs a picture of its own.
void GivePictureAfterLine(const SceneScript& scene, std::map<Slot, Visual>& plan) {
  for (int l = 0; l < static_cast<int>(scene.lanes.size()); ++l) {
    const Lane& lane = scene.lanes[l];
    for (int s = lane.first; s <= lane.Last(); ++s)
      if (LoadsPictureAfterLine(*lane.At(s)) && plan[{l, s}].picture == 0)
        plan[{l, s}].picture = scene.pictures.at(scene.pictures.size() / 2);
  }
}

std::string VisualWords(const Visual& v) {
  std::string words;
  if (v.picture) words += " pic=" + std::to_string(v.picture);
  if (v.background != kNoBackground) words += " bg=" + std::to_string(v.background);
  return words;
}

void WriteChoice(std::ostream& out, const SceneScript& scene, int lane, int step, const OptionSet& set) {
  const std::string header = StepHeader(scene, lane, step);
  const int laneCondition = FirstCondition(scene.lanes[lane].key.conditions);
  const int condition = set.conditions.IsAny() ? laneCondition : FirstCondition(set.conditions);
  out << header;
  if (!set.conditions.IsAny()) out << " " << set.conditions.Name();
  out << " >";
  for (int pick = 0; pick < set.count; ++pick)
    out << (pick ? " | " : " ") << "選択" << pick << "：" << WhereOptionLeads(scene, lane, step, pick, condition);
  out << "\n";
}

void WriteScene(std::ostream& out, const SceneScript& scene) {
  std::map<Slot, Visual> plan = PlanVisuals(scene);
  GivePictureAfterLine(scene, plan);
  out << "\n# scene " << scene.number << "\n";
  for (int l = 0; l < static_cast<int>(scene.lanes.size()); ++l) {
    const Lane& lane = scene.lanes[l];
    for (int s = lane.first; s <= lane.Last(); ++s) {
      const Step& step = *lane.At(s);
      const std::string visual = VisualWords(plan[{l, s}]);
      switch (SlotOf(step)) {
        case StepSlot::Line: out << StepHeader(scene, l, s) << visual << " | " << LineText(scene, l, s) << "\n"; break;
        case StepSlot::FixedLine:
          if (!visual.empty()) out << StepHeader(scene, l, s) << visual << " |\n";
          break;
        case StepSlot::Choice:
          for (const Op& op : step.ops)
            if (op.kind == OpKind::Choice)
              for (const OptionSet& set : op.optionSets) WriteChoice(out, scene, l, s, set);
          break;
        case StepSlot::None: break;
      }
    }
  }
}

}  // namespace

std::string DefaultScenarioText() {
  std::ostringstream out;
  out << "# The placeholder scenario, written by the build. Format: docs/content.md.\n"
         "# Each line says where the player is; each option where it leads.\n\n";
  for (const auto& [picture, line] : kGreetings) out << "greeting " << picture << " | " << line << "\n";
  std::vector<const SceneScript*> scenes;
  for (const SceneScript& scene : StoryStructure().Scenes()) scenes.push_back(&scene);
  std::sort(scenes.begin(), scenes.end(), [](auto* a, auto* b) { return a->number < b->number; });
  for (const SceneScript* scene : scenes) WriteScene(out, *scene);
  return out.str();
}

}  // namespace pelmot
