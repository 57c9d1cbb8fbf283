// The picture service: its memory budget and order, the packed copies on disk
// (never shown when damaged or stale), hints decoded ahead, and the hints
// the story gives along its lanes and at its choices.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "game_fixture.h"
#include "platform/common/picture_service.h"
#include "present/pictures.h"
#include "scenes/picture_lookahead.h"

namespace pelmot {
namespace {

std::vector<Colour> Noise(int w, int h, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<Colour> pixels(static_cast<std::size_t>(w) * h);
  for (Colour& p : pixels) p = random() & 0xFFFFFF;
  return pixels;
}

SharedPicture PictureOf(int w, int h) {
  auto p = std::make_shared<DecodedPicture>();
  p->width = w;
  p->height = h;
  p->pixels.assign(static_cast<std::size_t>(w) * h, kWhite);
  return p;
}

TEST(PictureMemoryCache, KeepsWithinItsBudgetDroppingTheLeastRecentlyUsed) {
  const SourceStamp stamp{1, 2};
  PictureMemoryCache cache(3 * PictureOf(10, 10)->Bytes());
  cache.Put("a", stamp, PictureOf(10, 10));
  cache.Put("b", stamp, PictureOf(10, 10));
  cache.Put("c", stamp, PictureOf(10, 10));
  ASSERT_TRUE(cache.Find("a", stamp));  // a is now the most recent
  cache.Put("d", stamp, PictureOf(10, 10));
  EXPECT_EQ(cache.PathsByRecency(), (std::vector<std::string>{"d", "a", "c"}));
  EXPECT_EQ(cache.Bytes(), 3 * PictureOf(10, 10)->Bytes());
  // A stale stamp finds nothing; a picture above the budget is not kept.
  EXPECT_FALSE(cache.Find("a", SourceStamp{1, 3}));
  cache.Put("huge", stamp, PictureOf(40, 40));
  EXPECT_FALSE(cache.Holds("huge", stamp));
  EXPECT_EQ(cache.PathsByRecency().size(), 3u);
}

// Making room hands back the pixels of a picture only the cache held, for
// the next decode to reuse; a picture someone still holds keeps its pixels.
TEST(PictureMemoryCache, MakingRoomReusesOnlyPixelsNobodyElseHolds) {
  const SourceStamp stamp{1, 2};
  const std::size_t one = PictureOf(10, 10)->Bytes();
  PictureMemoryCache cache(2 * one);
  cache.Put("a", stamp, PictureOf(10, 10));
  cache.Put("b", stamp, PictureOf(10, 10));
  const SharedPicture held = cache.Find("a", stamp);
  cache.Put("c", stamp, PictureOf(10, 10));  // b goes, a is kept
  ASSERT_EQ(cache.PathsByRecency(), (std::vector<std::string>{"c", "a"}));
  cache.Find("c", stamp);  // a is now the least recent, and still held here
  EXPECT_TRUE(cache.MakeRoomFor(one).empty());
  EXPECT_EQ(held->pixels, std::vector<Colour>(100, kWhite));
  EXPECT_EQ(cache.MakeRoomFor(2 * one), std::vector<Colour>(100, kWhite));  // c, held by the cache alone
  EXPECT_EQ(cache.Bytes(), 0u);
  cache.Put("d", stamp, PictureOf(10, 10));
  EXPECT_EQ(cache.Bytes(), one);
}

class PictureServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(pictures());
    ASSERT_TRUE(SavePng(first, 800, 600, PicturePath(pictures(), 7)));
  }
  std::string pictures() const { return dir.path() + "/pictures"; }
  std::string cacheFolder() const { return dir.path() + "/cache"; }
  std::vector<Colour> Load(PictureService& service, int number = 7) {
    Surface target;
    service.PicLoad(target, number, pictures());
    return target.Image();
  }
  testing::TempDir dir;
  const std::vector<Colour> first = Noise(800, 600, 1);
};

TEST_F(PictureServiceTest, AHintedPictureIsDecodedAheadAndDrawnFromMemory) {
  PictureService service({kDefaultPictureBudget, ""});
  service.Prefetch(7, pictures());
  service.WaitIdle();
  EXPECT_EQ(Load(service), first);
  EXPECT_EQ(service.counts().fromMemory, 1);
  EXPECT_EQ(service.counts().decodedNow, 0);
}

TEST_F(PictureServiceTest, TheDiskCopyIsUsedWhileItMatchesAndNeverWhenDamaged) {
  {
    PictureService service({kDefaultPictureBudget, cacheFolder()});
    EXPECT_EQ(Load(service), first);
    service.WaitIdle();  // the disk copy is written behind
  }
  const std::string copy = DiskPictureCache(cacheFolder()).FileOf(PicturePath(pictures(), 7));
  ASSERT_TRUE(std::filesystem::exists(copy));
  {
    PictureService service({kDefaultPictureBudget, cacheFolder()});
    EXPECT_EQ(Load(service), first);
    EXPECT_EQ(service.counts().fromDisk, 1);
  }
  // One byte changed in the middle, then the file cut short: both read as
  // absent and the PNG is decoded again.
  const std::string bytes = testing::FileBytes(copy);
  for (const std::string& damaged : {bytes.substr(0, bytes.size() / 2) + std::string(1, bytes[bytes.size() / 2] ^ 1) +
                                         bytes.substr(bytes.size() / 2 + 1),
                                     bytes.substr(0, bytes.size() - 100)}) {
    std::ofstream(copy, std::ios::binary | std::ios::trunc) << damaged;
    PictureService service({kDefaultPictureBudget, cacheFolder()});
    EXPECT_EQ(Load(service), first);
    EXPECT_EQ(service.counts().fromDisk, 0);
    service.WaitIdle();
  }
}

TEST_F(PictureServiceTest, AChangedSourceIsDecodedAgainFromMemoryAndDisk) {
  PictureService service({kDefaultPictureBudget, cacheFolder()});
  EXPECT_EQ(Load(service), first);
  service.WaitIdle();
  const auto second = Noise(800, 600, 2);
  ASSERT_TRUE(SavePng(second, 800, 600, PicturePath(pictures(), 7)));
  // The same size is possible; the modification time tells them apart.
  const auto path = PicturePath(pictures(), 7);
  std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
  EXPECT_EQ(Load(service), second);
  PictureService fresh({kDefaultPictureBudget, cacheFolder()});
  EXPECT_EQ(Load(fresh), second);
}

TEST_F(PictureServiceTest, AnUnreadablePictureShowsThePlaceholderAsBefore) {
  PictureService service({kDefaultPictureBudget, cacheFolder()});
  PngPictureLoader plain;
  Surface expected;
  plain.PicLoad(expected, 9, pictures());
  service.Prefetch(9, pictures());
  service.WaitIdle();
  EXPECT_EQ(Load(service, 9), expected.Image());
}

// A scene by pick: the shared lane shows 5 and ends with a choice; pick 0
// shows 10, a background and 11, 12; pick 1 shows 20 and goes to scene 2.
Story ChoiceStory() {
  auto step = [](std::vector<Op> ops) { return Step{std::move(ops)}; };
  auto op = [](OpKind kind, int a = 0) {
    Op o;
    o.kind = kind;
    o.a = a;
    return o;
  };
  Op choice = op(OpKind::Choice);
  choice.optionSets.push_back(OptionSet{ConditionSet::Any(), 2, Options{"a", "b"}});
  SceneScript one;
  one.number = 1;
  one.rule = LaneRule::ByPick;
  one.lanes.push_back(Lane{{LaneRule::ByPick, ConditionSet::Any(), kAnyPick},
                           0,
                           {step({op(OpKind::Line)}), step({op(OpKind::Picture, 5)}), step({choice})}});
  one.lanes.push_back(Lane{{LaneRule::ByPick, ConditionSet::Any(), 0},
                           3,
                           {step({op(OpKind::Picture, 10)}), step({op(OpKind::Background, 0)}),
                            step({op(OpKind::Picture, 11)}), step({op(OpKind::Picture, 12)})}});
  one.lanes.push_back(Lane{{LaneRule::ByPick, ConditionSet::Any(), 1},
                           3,
                           {step({op(OpKind::Picture, 20)}), step({op(OpKind::GoToScene, 2)})}});
  SceneScript two;
  two.number = 2;
  two.lanes.push_back(Lane{{},
                           0,
                           {step({op(OpKind::Line)}), step({op(OpKind::Picture, 30), op(OpKind::GameOver)}),
                            step({op(OpKind::Picture, 31)})}});
  Story story;
  story.Add(one);
  story.Add(two);
  return story;
}

TEST(PictureLookAhead, FollowsTheLaneThenEveryPickOfTheChoice) {
  const Story story = ChoiceStory();
  const SceneScript& scene = *story.Find(1);
  const int condition = 3;
  const int background = BackgroundPicture(0, condition);
  // From the start: 5, then three ways each past the choice, both picks.
  EXPECT_EQ(UpcomingPictures(story, scene, 0, condition, 0, 3), (std::vector<int>{5, 10, background, 20, 30}));
  // On the choice itself: each pick's first three; pick 1 goes on into
  // scene 2 and stops at its game over.
  EXPECT_EQ(UpcomingPictures(story, scene, 2, condition, 0, 3), (std::vector<int>{10, background, 11, 20, 30}));
  // Inside pick 0's lane only that lane counts.
  EXPECT_EQ(UpcomingPictures(story, scene, 3, condition, 0, 3), (std::vector<int>{background, 11, 12}));
  EXPECT_EQ(UpcomingPictures(story, scene, 3, condition, 1, 3), (std::vector<int>{30}));
}

}  // namespace
}  // namespace pelmot
