// The prologue (scenes 0 ... 5) and the day, choice and ending-selection
// scenes (10 ... 150). Notation: P(i, d) adds d to parameter i, C(v) sets
// Condition, Day(v) sets DayNo, Go(m) goes to scene m, Next() advances.
// When(pick, "conditions", ops) is one way of a branch step.
#include "platform/ui_text.h"
#include "scenes/story_builder.h"
#include "scenes/story_structure.h"

namespace pelmot::story {

// The story as a table laid out by hand, a scene a line where it fits.
// clang-format off
namespace {

void AddPrologue(StoryBuilder& b) {
  b.Scene(0, Single(70))
      .Shows("1-12")
      .PictureAfterLine(32)
      .Choice(69, 2)
      .Branch(70, {When(0, {Go(1)}), When(1, {Go(3)})});
  b.Scene(1, Single(7)).Shows("14").Choice(6, 2).Branch(7, {When(0, {Go(2)}), When(1, {Go(3)})});
  b.Scene(2, Single(4)).Shows("8, 13").FixedLine(3, Ui(UiText::story_game_over)).At(4, {GameOverOp()});
  b.Scene(3, Single(39)).Shows("5, 12, 15-18").At(39, {Go(4)});
  b.Scene(4, Single(35)).Shows("5, 17, 19, 20").At(35, {Go(5)});
  b.Scene(5, Single(50))
      .Shows("5, 21, 115-121, 124-126")
      .Choice(41, 2)
      .OnPick(42, {P(0, 20), C(0), Next()}, {P(2, 20), C(1), Next()})
      .At(50, {Day(2), Go(10)});
}

// Day scenes open a new day: they set DayNo and go to the day's choice.
void AddDayScenes(StoryBuilder& b) {
  b.Scene(15, Single(35)).Shows("5", "2-6, 8, 9, 12").At(35, {Day(3), Go(20)});
  b.Scene(25, Single(24)).Shows("5", "3-5, 12").Empty(kEvery, 12).At(24, {Day(4), Go(30)});
  b.Scene(35, Single(20)).Shows("5, 8", "12, 19").At(20, {Day(5), Go(40)});
  b.Scene(45, Single(25)).Shows("5", "2, 4, 5, 8, 12, 16").At(25, {Day(6), Go(50)});
  b.Scene(55, Single(27)).Shows("5", "3, 4, 6, 10, 12").At(27, {Day(7), Go(60)});
  b.Scene(66, Single(25)).Shows("5", "3-5, 9, 12").At(25, {Day(8), Go(70)});
  b.Scene(75, Single(15)).Shows("", "12").At(15, {Day(9), Go(80)});
  b.Scene(85, Single(19)).Shows("5", "12").At(19, {Day(10), Go(90)});
  b.Scene(95, Single(12)).Shows("5", "12").At(12, {Day(11), Go(100)});
  b.Scene(108, Single(24)).Shows("5, 21", "2-6, 11").At(24, {Day(12), Go(110)});
  b.Scene(115, Single(13)).Shows("5", "12").At(13, {Day(13), Go(120)});
  b.Scene(125, Single(19)).Shows("5", "12").At(19, {Day(14), Go(130)});
  b.Scene(130, Single(49))
      .Shows("5", "1, 2, 4, 6, 9, 10, 12")
      .PictureStep()
      .At(49, {P(0, 20), C(0), Day(15), Go(140)});
  b.Scene(150, Single(4)).Shows("5").At(4, {SelectEndingOp()});
}

void AddChoiceScenesToDay7(StoryBuilder& b) {
  b.Scene(10, Single(26))
      .Shows("5, 13, 17, 117, 120, 124, 126", "0")
      .Receives("0, 1")
      .PictureStep()
      .ChoiceByCondition(4, {{0, 3}, {1, 2}})
      .Branch(5, {When(0, "0", {Go(11)}), When(0, {Go(13)}), When(1, "0", {Go(12)}), When(1, {Go(14)}),
                  When(2, "0", {JumpTo(6)})})
      .Choice(24, 2)
      .Branch(25, {When(0, {C(0), JumpTo(26)}), When(kAnyPick, {C(6), JumpTo(26)})})
      .At(26, {Go(15)});

  const std::vector<BranchCase> scene20Step5 = {When(0, "0", {Go(21)}), When(0, "7", {Go(22)}),
                                                When(1, "0", {Go(22)}), When(1, "7", {Go(23)})};
  b.Scene(20, ByCondition({{7, 5}, {6, 6}, {0, 5}}))
      .Shows("5", "4, 5, 10, 12")
      .Receives("0, 6, 7")
      .PictureStep()
      .Choice(InC(7), 4, 2)
      .Choice(InC(0), 4, 2)
      .Empty(InC(6), 4)
      .Choice(InC(6), 5, 2)
      .Branch(InC(7), 5, scene20Step5)
      .Branch(InC(0), 5, scene20Step5)
      .Branch(InC(6), 6, {When(0, "6", {Go(21)}), When(1, "6", {Go(23)})});

  b.Scene(30, ByCondition({{3, 9}, {1, 9}, {0, 9}}))
      .Shows("5", "1, 2, 6, 7, 12")
      .Receives("0, 1, 3")
      .PictureStep()
      .Choice(InC(3), 8, 3)
      .Choice(InC(1), 8, 2)
      .Choice(InC(0), 8, 2)
      .Branch(9, {When(0, "1", {Go(31)}), When(1, "3", {Go(31)}), When(0, "0", {Go(32)}), When(1, "1", {Go(32)}),
                  When(0, "3", {Go(33)}), When(1, "0", {Go(33)}), When(2, "3", {Go(34)})});

  // The pick waits through twenty shared lines before it decides.
  b.Scene(40, Single(31))
      .Shows("5, 8, 12, 14", "12")
      .Receives("2, 4, 6")
      .PictureStep()
      .ChoiceByCondition(10, {{2, 2}, {4, 2}, {6, 2}})
      .Branch(31, {When(0, "6", {Go(41)}), When(1, "4", {Go(41)}), When(0, "2", {Go(42)}), When(1, "6", {Go(42)}),
                   When(0, "4", {Go(43)}), When(1, "2", {Go(43)})});

  b.Scene(50, ByCondition({{5, 8}, {3, 10}, {0, 11}}))
      .Shows("5", "2, 5, 6, 12")
      .Receives("0, 3, 5")
      .PictureStep()
      .Choice(InC(5), 7, 2)
      .Choice(InC(3), 9, 2)
      .Choice(InC(0), 10, 2)
      .Branch(InC(5), 8, {When(0, "5", {Go(51)}), When(1, "5", {Go(52)})})
      .Branch(InC(3), 10, {When(0, "3", {Go(53)}), When(1, "3", {Go(51)})})
      .Branch(InC(0), 11, {When(0, "0", {Go(52)}), When(1, "0", {Go(54)})});

  b.Scene(60, ByCondition({{2, 11}, {1, 11}, {0, 10}}))
      .Shows("5", "2, 3, 5, 7, 12")
      .Receives("0, 1, 2")
      .PictureStep()
      .Choice(InC(2), 10, 2)
      .Choice(InC(1), 10, 2)
      .Choice(InC(0), 9, 2)
      .Branch(InC(0), 10, {When(0, "0", {Go(61)}), When(1, "0", {Go(62)})})
      .Branch(11, {When(0, "1", {Go(63)}), When(0, "2", {Go(64)}), When(1, "1", {Go(62)}), When(1, "2", {Go(65)})});
}

void AddChoiceScenesFromDay8(StoryBuilder& b) {
  b.Scene(70, ByCondition({{6, 11}, {5, 11}, {4, 8}}))
      .Shows("5", "2, 4, 9, 12")
      .Receives("4, 5, 6")
      .PictureStep()
      .Choice(InC(6), 10, 2)
      .Choice(InC(5), 10, 2)
      .Choice(InC(4), 7, 2)
      .SkipRunsIntoChoice(InC(6))
      .Branch(InC(4), 8, {When(0, "4", {Go(71)}), When(1, "4", {Go(72)})})
      .Branch(11, {When(0, "5", {Go(73)}), When(1, "6", {Go(73)}), When(0, "6", {Go(74)}), When(1, "5", {Go(71)})});

  b.Scene(80, ByCondition({{6, 11}, {3, 11}, {0, 11}}))
      .Shows("5", "4, 5, 7, 12")
      .Receives("0, 3, 6")
      .PictureStep()
      .Choice(10, 2)
      .SkipRunsIntoChoice(InC(3))
      .Branch(11, {When(0, "6", {Go(81)}), When(0, "0, 3", {Go(83)}), When(1, "0, 6", {Go(82)}),
                   When(1, "3", {Go(84)})});

  // Like scene 40, the pick decides only after twenty shared lines.
  b.Scene(90, Single(32))
      .Shows("5, 8, 9, 12-14, 16", "12")
      .Receives("0, 2, 3")
      .PictureStep()
      .ChoiceByCondition(11, {{0, 2}, {2, 2}, {3, 2}})
      .Branch(32, {When(0, "0", {Go(91)}), When(1, "2", {Go(91)}), When(0, "3", {Go(92)}), When(1, "0", {Go(92)}),
                   When(0, "2", {Go(94)}), When(1, "3", {Go(93)})});

  b.Scene(100, Single(26))
      .Shows("5", "7, 8, 12, 16, 18-20")
      .Receives("0, 1, 2, 4, 5, 6, 7")
      .PictureStep()
      .ChoiceByCondition(25, {{0, 2}, {1, 2}, {2, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}})
      .Branch(26, {When(0, "7", {Go(101)}), When(1, "1", {Go(101)}), When(0, "0, 5", {Go(103)}),
                   When(0, "4", {Go(104)}), When(1, "0", {Go(104)}), When(0, "6", {Go(105)}),
                   When(1, "2", {Go(105)}), When(0, "1, 2", {Go(107)}), When(1, "5, 7", {Go(102)}),
                   When(1, "4, 6", {Go(106)})});

  b.Scene(110, ByCondition({{6, 9}, {4, 9}, {0, 9}}))
      .Shows("5", "4, 5, 9, 12")
      .Receives("0, 4, 6")
      .PictureStep()
      .Choice(8, 2)
      .Branch(9, {When(0, "0, 4", {Go(111)}), When(0, "6", {Go(113)}), When(1, "0", {Go(113)}),
                  When(1, "4", {Go(112)}), When(1, "6", {Go(114)})});

  b.Scene(120, Single(10))
      .Shows("5", "11, 12")
      .Receives("0, 1, 6, 7")
      .PictureStep()
      .ChoiceByCondition(9, {{0, 2}, {1, 2}, {6, 2}, {7, 2}})
      .Branch(10, {When(0, "1, 6", {Go(121)}), When(0, "7", {Go(122)}), When(1, "6", {Go(122)}),
                   When(0, "0", {Go(123)}), When(1, "7", {Go(123)}), When(1, "0, 1", {Go(124)})});

  b.Scene(140, Single(18))
      .Shows("5", "4-6, 10")
      .Receives("0")
      .PictureStep()
      .Choice(17, 2)
      .Branch(18, {When(0, {Go(141)}), When(1, {Go(142)})});
}

}  // namespace

void AddPrologueAndDayScenes(StoryBuilder& b) {
  AddPrologue(b);
  AddDayScenes(b);
  AddChoiceScenesToDay7(b);
  AddChoiceScenesFromDay8(b);
}

// clang-format on

}  // namespace pelmot::story
