// The event scenes (11 ... 142): one per pick of a day's choice. Most offer
// a choice of their own; its update step changes the values by the pick.
// Notation as in story_data_days.cpp; InPick(p) names the lane of pick p.
#include "scenes/story_builder.h"
#include "scenes/story_structure.h"

namespace pelmot::story {

// The story as a table laid out by hand, a scene a line where it fits.
// clang-format off
namespace {

void AddDays2To4(StoryBuilder& b) {
  b.Scene(11, Single(35)).Shows("5, 43, 131").Choice(29, 2)
      .OnPick(30, {P(1, 20), C(0), P(3, 20), Next()}, {P(2, 20), C(6), P(3, 20), Next()})
      .At(35, {Go(15)});
  b.Scene(12, ByPick(31, 50, 50)).Shows("5, 46, 47, 115, 116, 123").Choice(31, 2)
      .OnPick(32, {P(2, 20), C(6), Next()}, {P(1, 20), C(7), Next()})
      .At(50, {Go(15)});
  b.Scene(13, Single(34)).Shows("5, 44, 120, 124, 130").Choice(26, 2)
      .OnPick(27, {P(0, -20), C(6), P(3, 20), Next()}, {P(0, 20), C(0), P(3, 20), Next()})
      .At(34, {Go(15)});
  b.Scene(14, ByPick(19, 25, 30)).Shows("5, 28, 125, 130").Choice(19, 2)
      .OnPick(20, {P(0, -20), C(6), Next()}, {P(0, 20), C(0), Next()})
      .At(InPick(0), 25, {Go(15)}).At(InPick(1), 30, {Go(15)});

  b.Scene(21, ByPick(13, 33, 36)).Shows("5, 45, 115, 120").Choice(13, 2)
      .OnPick(14, {P(0, -20), C(3), P(3, 20), Next()}, {P(1, 20), C(0), P(3, 20), Next()})
      .At(InPick(0), 33, {Go(25)}).At(InPick(1), 36, {Go(25)});
  b.Scene(22, ByPick(10, 39, 43)).Shows("5, 29, 124, 125, 130-132, 134").Choice(10, 2)
      .OnPick(11, {P(0, 20), C(0), P(3, 20), Next()}, {P(1, 20), C(1), P(3, 20), Next()})
      .At(InPick(0), 39, {Go(25)}).At(InPick(1), 43, {Go(25)});
  b.Scene(23, Single(37)).Shows("1-4, 36").Choice(22, 2)
      .OnPick(23, {P(0, -20), C(3), Next()}, {P(2, 20), C(1), Next()})
      .At(37, {Go(25)});

  b.Scene(31, ByPick(12, 31, 45)).Shows("5, 14, 30-32, 131").Choice(12, 2)
      .OnPick(13, {P(1, 20), C(6), Next()}, {P(2, 20), C(2), Next()})
      .At(InPick(0), 31, {Go(35)}).At(InPick(1), 45, {Go(35)});
  b.Scene(32, ByPick(13, 25, 24)).Shows("5, 15, 34").Choice(13, 2)
      .OnPick(14, {C(4), P(3, 20), Next()}, {C(6), P(3, 20), Next()})
      .At(InPick(1), 24, {Go(35)}).At(InPick(0), 25, {Go(35)});
  b.Scene(33, ByPick(12, 28, 29)).Shows("5, 48-50, 117, 119").Choice(12, 2)
      .OnPick(13, {P(2, 20), C(6), Next()}, {P(1, 20), C(2), Next()})
      .At(InPick(0), 28, {Go(35)}).At(InPick(1), 29, {Go(35)});
  b.Scene(34, ByPick(4, 39, 17)).Shows("5, 12, 98, 99, 116, 123, 124").Choice(4, 2)
      .OnPick(5, {P(1, 20), C(6), Next()}, {P(0, 20), C(4), Next()})
      .At(InPick(1), 17, {Go(35)}).At(InPick(0), 39, {Go(35)});
}

void AddDays5To7(StoryBuilder& b) {
  b.Scene(41, ByPick(8, 35, 46)).Shows("57-61").Choice(8, 2)
      .OnPick(9, {C(5), Next()}, {C(3), Next()})
      .At(InPick(0), 35, {Go(45)}).At(InPick(1), 46, {Go(45)});
  b.Scene(42, Single(41)).Shows("81-84").Choice(26, 2)
      .OnPick(27, {C(3), Next()}, {C(5), Next()})
      .At(41, {Go(45)});
  b.Scene(43, Single(36)).Shows("75, 76").Choice(14, 2)
      .OnPick(15, {P(0, 20), C(0), Next()}, {P(2, 20), C(5), Next()})
      .At(36, {Go(45)});

  b.Scene(51, Single(34)).Shows("16, 85, 86").At(34, {P(2, 20), P(0, 10), C(1), Go(55)});
  b.Scene(52, Single(34)).Shows("9, 13, 15, 16, 35").At(34, {P(0, 30), P(1, 20), C(0), P(3, 20), Go(55)});
  b.Scene(53, Single(34)).Shows("5, 8, 39-42").At(34, {P(2, 40), P(0, -20), C(2), Go(55)});
  b.Scene(54, Single(24)).Shows("7, 33").At(24, {P(0, 10), P(1, 10), P(2, 10), C(0), Go(55)});

  b.Scene(61, Single(31)).Shows("5-7, 22, 116, 119-121").Choice(25, 2)
      .OnPick(26, {P(1, 20), C(4), Next()}, {P(2, 20), C(5), Next()})
      .At(31, {Go(66)});
  b.Scene(62, ByPick(6, 29, 40)).Shows("13, 15, 67-69, 117, 120").Choice(6, 2)
      .OnPick(7, {P(1, 20), C(4), Next()}, {P(2, 20), C(6), Next()})
      .At(InPick(0), 29, {Go(66)}).At(InPick(1), 40, {Go(66)});
  b.Scene(63, ByPick(12, 31, 39)).Shows("5, 37, 38, 116, 118, 120-123").Choice(12, 2)
      .OnPick(13, {P(0, 60), P(1, -30), P(2, -30), C(4), Next()}, {P(2, 30), P(0, -30), C(6), Next()})
      .At(InPick(0), 31, {Go(66)}).At(InPick(1), 39, {Go(66)});
  b.Scene(64, Single(16)).Shows("5, 100, 126").At(16, {P(2, 20), P(0, -20), C(6), Go(66)});
  b.Scene(65, Single(25)).Shows("5, 95, 126").At(25, {P(1, 20), P(0, -20), C(6), Go(66)});
}

void AddDays8To10(StoryBuilder& b) {
  b.Scene(71, Single(22)).Shows("5, 93").At(22, {P(0, 40), P(1, 20), P(2, -20), C(0), Go(75)});
  b.Scene(72, ByPick(13, 35, 29)).Shows("5, 77-80").Choice(13, 2)
      .OnPick(14, {P(2, 50), P(0, -20), C(3), Next()}, {P(0, 20), P(1, 20), C(0), Next()})
      .At(InPick(1), 29, {Go(75)}).At(InPick(0), 35, {Go(75)});
  b.Scene(73, Single(35)).Shows("5, 43, 131").Choice(29, 2)
      .OnPick(30, {P(1, 20), C(0), P(3, 20), Next()}, {P(2, 20), C(6), P(3, 20), Next()})
      .At(35, {Go(75)});
  b.Scene(74, ByPick(6, 18, 26)).Shows("5, 73, 74, 116").Choice(6, 2)
      .OnPick(7, {P(0, 20), P(1, -20), P(2, -20), C(0), Next()}, {P(2, 20), C(6), Next()})
      .At(InPick(0), 18, {Go(75)}).At(InPick(1), 26, {Go(75)});

  b.Scene(81, ByPick(13, 33, 36)).Shows("5, 45, 115, 120").Choice(13, 2)
      .OnPick(14, {P(0, -20), C(3), P(3, 20), Next()}, {P(1, 20), C(2), P(3, 20), Next()})
      .At(InPick(0), 33, {Go(85)}).At(InPick(1), 36, {Go(85)});
  b.Scene(82, ByPick(28, 43, 46)).Shows("5, 9, 13, 15, 16, 51, 53").Choice(28, 2)
      .OnPick(29, {P(2, 20), P(0, -20), C(3), Next()}, {P(0, 20), P(1, 20), C(0), Next()})
      .At(InPick(0), 43, {Go(85)}).At(InPick(1), 46, {Go(85)});
  b.Scene(83, Single(34)).Shows("5, 62-66").At(34, {P(0, 20), P(1, 30), P(2, 30), C(3), Go(85)});
  b.Scene(84, Single(36)).Shows("5, 96, 97, 126").At(36, {P(0, 30), C(0), Go(85)});

  b.Scene(91, ByPick(16, 36, 39)).Shows("5, 14, 27").Choice(16, 2)
      .OnPick(17, {P(2, 20), C(5), Next()}, {P(0, -20), C(6), Next()})
      .At(InPick(0), 36, {Go(95)}).At(InPick(1), 39, {Go(95)});
  b.Scene(92, ByPick(7, 27, 23)).Shows("5, 23, 125, 133").Choice(7, 2)
      .OnPick(8, {P(0, -20), C(7), Next()}, {P(0, 20), C(0), Next()})
      .At(InPick(1), 23, {Go(95)}).At(InPick(0), 27, {Go(95)});
  b.Scene(93, ByPick(24, 39, 36)).Shows("5, 24, 25, 125").Choice(24, 2)
      .OnPick(25, {P(1, 20), C(6), Next()}, {P(2, 20), C(2), Next()})
      .At(InPick(1), 36, {Go(95)}).At(InPick(0), 39, {Go(95)});
  b.Scene(94, ByPick(6, 54, 17)).Shows("1, 5-8, 13-16, 26").Choice(6, 2)
      .OnPick(7, {P(0, 20), C(4), Next()}, {P(0, -20), C(1), Next()})
      .At(InPick(1), 17, {Go(95)}).At(InPick(0), 54, {Go(95)});
}

void AddDays11To15(StoryBuilder& b) {
  b.Scene(101, Single(23)).Shows("5, 16, 18, 89, 90, 121").At(23, {P(2, 40), C(6), Go(108)});
  b.Scene(102, ByPick(19, 25, 30)).Shows("5, 28, 125, 130").Choice(19, 2)
      .OnPick(20, {P(0, -20), C(6), Next()}, {P(0, 20), C(0), Next()})
      .At(InPick(0), 25, {Go(108)}).At(InPick(1), 30, {Go(108)});
  b.Scene(103, Single(21)).Shows("5, 54-56").At(21, {P(0, 20), P(2, 20), C(4), Go(108)});
  b.Scene(104, ByPick(13, 25, 24)).Shows("5, 15, 34").Choice(13, 2)
      .OnPick(14, {C(4), P(3, 20), Next()}, {C(6), P(3, 20), Next()})
      .At(InPick(1), 24, {Go(108)}).At(InPick(0), 25, {Go(108)});
  b.Scene(105, Single(31)).Shows("17, 97, 99-101").At(31, {P(0, -40), P(1, -40), P(2, -40), C(6), Go(108)});
  b.Scene(106, Single(24)).Shows("7, 33").At(24, {P(0, 10), P(1, 10), P(2, 10), C(0), Go(108)});
  b.Scene(107, ByPick(12, 31, 39)).Shows("5, 37, 38, 116, 118, 120-123").Choice(12, 2)
      .OnPick(13, {P(0, 80), P(1, -30), P(2, -30), C(4), Next()}, {P(2, 50), P(0, -30), C(6), Next()})
      .At(InPick(0), 31, {Go(108)}).At(InPick(1), 39, {Go(108)});

  b.Scene(111, Single(34)).Shows("5, 44, 120, 124, 130").Choice(26, 2)
      .OnPick(27, {P(0, -20), C(6), P(3, 20), Next()}, {P(0, 20), C(0), P(3, 20), Next()})
      .At(34, {Go(115)});
  b.Scene(112, ByPick(10, 39, 43)).Shows("5, 29, 124, 125, 130-132, 134").Choice(10, 2)
      .OnPick(11, {P(0, 20), C(0), P(3, 20), Next()}, {P(1, 20), C(1), P(3, 20), Next()})
      .At(InPick(0), 39, {Go(115)}).At(InPick(1), 43, {Go(115)});
  b.Scene(113, Single(35)).Shows("5, 43, 131").Choice(29, 2)
      .OnPick(30, {P(1, 20), C(0), P(3, 20), Next()}, {P(2, 20), C(6), P(3, 20), Next()})
      .At(35, {Go(115)});
  b.Scene(114, ByPick(31, 50, 50)).Shows("5, 46, 47, 115, 116, 123").Choice(31, 2)
      .OnPick(32, {P(2, 20), C(6), Next()}, {P(1, 20), C(7), Next()})
      .At(50, {Go(115)});

  b.Scene(121, Single(21)).Shows("5, 70-72").At(21, {P(2, 20), C(2), Go(125)});
  b.Scene(122, Single(19)).Shows("12, 91, 92, 126").At(19, {P(0, -30), P(1, 20), P(2, 20), C(2), Go(125)});
  b.Scene(123, Single(19)).Shows("5, 87, 88").At(19, {P(1, 40), P(2, 20), C(2), Go(125)});
  b.Scene(124, Single(27)).Shows("5, 94").At(27, {P(0, 20), P(1, 40), C(2), Go(125)});

  b.Scene(141, Single(25)).Shows("5, 29, 43-45, 90, 126").At(25, {P(0, 20), P(3, 20), Go(150)});
  b.Scene(142, Single(43)).Shows("5, 22, 28, 33, 37, 38, 66, 80, 126").At(43, {P(1, 20), P(2, 20), Go(150)});
}

}  // namespace

void AddEventScenes(StoryBuilder& b) {
  AddDays2To4(b);
  AddDays5To7(b);
  AddDays8To10(b);
  AddDays11To15(b);
}

// The ten endings: "＜終わり＞" on the second-to-last step, then the ending
// operation (scene 150 + e sets EndingNo to e). All but 158 open with a
// picture step.
void AddEndingScenes(StoryBuilder& b) {
  b.EndingScene(151, 32, true).Shows("5, 112, 114, 127, 129");
  b.EndingScene(152, 70, true).Shows("1-8, 12, 106, 115, 117, 124, 133, 134");
  b.EndingScene(153, 78, true).Shows("5, 8-16, 18, 110, 114");
  b.EndingScene(154, 54, true).Shows("5, 11-14, 16, 17, 107");
  b.EndingScene(155, 38, true).Shows("1, 5, 6, 8, 102, 114");
  b.EndingScene(156, 37, true).Shows("5, 111, 114, 127, 128");
  b.EndingScene(157, 43, true).Shows("5, 8, 12, 109, 128, 129").Empty(kEvery, 15);
  b.EndingScene(158, 35, false).Shows("5, 8, 103-105, 129");
  b.EndingScene(159, 37, true).Shows("1, 5, 108");
  b.EndingScene(160, 95, true).Shows("5, 10, 11, 18, 28, 31, 33, 51, 73, 113, 114, 126-129, 133, 134");
}

// clang-format on

}  // namespace pelmot::story
