// The picture service: its memory budget and order, the packed copies on disk
// (never shown when damaged or stale), hints decoded ahead, and the hints
// the story gives along its lanes and at its choices.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

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
  EXPECT_FALSE(cache.Find("huge", stamp));
  EXPECT_EQ(cache.PathsByRecency().size(), 3u);
}

// Making room hands back the pixels of a picture only the cache held, for
// the next decode to reuse; a picture someone still holds (the one on
// screen) keeps its pixels, and they count against the budget until freed.
TEST(PictureMemoryCache, MakingRoomReusesOnlyPixelsNobodyElseHolds) {
  const SourceStamp stamp{1, 2};
  const std::size_t one = PictureOf(10, 10)->Bytes();
  PictureMemoryCache cache(2 * one);
  cache.Put("a", stamp, PictureOf(10, 10));
  cache.Put("b", stamp, PictureOf(10, 10));
  SharedPicture held = cache.Find("a", stamp);
  cache.Put("c", stamp, PictureOf(10, 10));  // b goes, a is kept
  ASSERT_EQ(cache.PathsByRecency(), (std::vector<std::string>{"c", "a"}));
  cache.Find("c", stamp);  // a is now the least recent, and still held here
  // a goes but still takes room, so c goes too: its pixels come back.
  EXPECT_EQ(cache.MakeRoomFor(one), std::vector<Colour>(100, kWhite));
  EXPECT_EQ(held->pixels, std::vector<Colour>(100, kWhite));
  EXPECT_EQ(cache.Bytes(), 0u);
  cache.Put("d", stamp, PictureOf(10, 10));
  cache.Put("e", stamp, PictureOf(10, 10));
  EXPECT_EQ(cache.PathsByRecency(), (std::vector<std::string>{"e"}));
  held.reset();
  cache.Put("f", stamp, PictureOf(10, 10));
  EXPECT_EQ(cache.PathsByRecency(), (std::vector<std::string>{"f", "e"}));
}

// Room for a picture read ahead is never made by letting go of one read
// ahead for the same hints (it comes sooner), only of those in use or used;
// once play moves on (NoneAhead), any may go again.
TEST(PictureMemoryCache, ReadingAheadNeverPushesOutWhatComesSooner) {
  const SourceStamp stamp{1, 2};
  const std::size_t one = PictureOf(10, 10)->Bytes();
  PictureMemoryCache cache(2 * one);
  cache.Put("shown", stamp, PictureOf(10, 10));
  cache.Put("next", stamp, PictureOf(10, 10), true);
  ASSERT_TRUE(cache.MakeRoomAhead(one));  // the picture shown goes
  cache.Put("after", stamp, PictureOf(10, 10), true);
  EXPECT_FALSE(cache.MakeRoomAhead(one));
  EXPECT_EQ(cache.PathsByRecency(), (std::vector<std::string>{"after", "next"}));
  cache.Find("next", stamp);  // used: it may go now
  EXPECT_TRUE(cache.MakeRoomAhead(one));
  EXPECT_EQ(cache.PathsByRecency(), (std::vector<std::string>{"after"}));
  // Hinted again while kept, a picture counts as ahead again.
  cache.Put("again", stamp, PictureOf(10, 10));
  EXPECT_TRUE(cache.HoldsAhead("again", stamp));
  EXPECT_FALSE(cache.MakeRoomAhead(one));
  cache.NoneAhead();
  EXPECT_TRUE(cache.MakeRoomAhead(one));
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

// A picture that fills its surface is shown without a copy, sharing the
// decoded pixels with the cache and other surfaces (and with a surface it
// is copied to whole): whatever is drawn on one surface afterwards reaches
// none of the others.
TEST_F(PictureServiceTest, DrawingOnAShownPictureChangesNoOtherShowingOfIt) {
  PictureService service({kDefaultPictureBudget, ""});
  Surface status, pixel, cleared, swapped;
  for (Surface* s : {&status, &pixel, &cleared, &swapped}) service.PicLoad(*s, 7, pictures());
  EXPECT_EQ(service.counts().fromMemory, 3);
  Surface copied(800, 600);  // a whole copy shares the pixels too
  copied.BitBlt(0, 0, 800, 600, status, 0, 0, Rop::SrcCopy);
  status.FillRect(10, 10, 50, 20, kWhite);
  status.BitBlt(0, 0, 40, 40, status, 20, 20, Rop::SrcInvert);
  pixel.SetImagePixel(799, 599, kWhite);
  cleared.Clear();
  Surface black;
  swapped.SwapImage(black);
  black.MutableImage()[0] = kWhite;
  EXPECT_EQ(status.ImagePixel(15, 15), (first[35 * 800 + 35] ^ kWhite));
  EXPECT_EQ(status.ImagePixel(100, 100), first[100 * 800 + 100]);
  EXPECT_EQ(pixel.ImagePixel(799, 599), kWhite);
  EXPECT_EQ(cleared.Image(), std::vector<Colour>(800 * 600, kBlack));
  EXPECT_EQ(swapped.Image(), std::vector<Colour>(800 * 600, kBlack));
  EXPECT_EQ(black.ImagePixel(0, 0), kWhite);
  EXPECT_EQ(black.ImagePixel(1, 0), first[1]);
  EXPECT_EQ(copied.Image(), first);
  copied.FillRect(0, 0, 800, 1, kWhite);
  EXPECT_EQ(copied.ImagePixel(5, 0), kWhite);
  EXPECT_EQ(copied.ImagePixel(5, 1), first[805]);
  EXPECT_EQ(Load(service), first);
}

// Noisy pictures are kept as they are, others packed with LZ4, quickly and
// then again, tighter, behind; either kind of copy is used while it matches
// and never when damaged.
TEST_F(PictureServiceTest, TheDiskCopyIsUsedWhileItMatchesAndNeverWhenDamaged) {
  std::vector<Colour> flat(800 * 600, kWhite);
  std::fill(flat.begin(), flat.begin() + 800 * 100, kBlack);
  for (int y = 100; y < 600; y += 3) std::fill_n(flat.begin() + y * 800, 1 + y, Colour{0x00336699u + y});
  ASSERT_TRUE(SavePng(flat, 800, 600, PicturePath(pictures(), 8)));
  for (const auto& [number, pixels] : {std::pair{7, first}, std::pair{8, flat}}) {
    {
      PictureService service({kDefaultPictureBudget, cacheFolder(), std::chrono::milliseconds(0)});
      EXPECT_EQ(Load(service, number), pixels);
      service.WaitIdle();  // the disk copy is written behind
      service.WaitTightened();
      EXPECT_EQ(service.counts().tightened, number == 8 ? 1 : 0);
    }
    const std::string copy = DiskPictureCache(cacheFolder()).FileOf(PicturePath(pictures(), number));
    ASSERT_TRUE(std::filesystem::exists(copy));
    EXPECT_EQ(std::filesystem::file_size(copy) > 800 * 600 * 4, number == 7) << "noise is kept unpacked";
    EXPECT_EQ(testing::FileBytes(copy).substr(0, 8), number == 7 ? "PELRAW03" : "PELLZ4T3");
    {
      PictureService service({kDefaultPictureBudget, cacheFolder(), std::chrono::milliseconds(0)});
      EXPECT_EQ(Load(service, number), pixels);
      service.WaitTightened();
      EXPECT_EQ(service.counts().fromDisk, 1);
      EXPECT_EQ(service.counts().tightened, 0) << "a tight copy is used as it is";
    }
    // One byte changed in the middle, the file cut short, and a copy of an
    // earlier layout at the name: each reads as absent and the PNG is
    // decoded again.
    const std::string bytes = testing::FileBytes(copy);
    std::string earlier = bytes;
    earlier[7] = '2';
    for (const std::string& damaged :
         {bytes.substr(0, bytes.size() / 2) + std::string(1, bytes[bytes.size() / 2] ^ 1) +
              bytes.substr(bytes.size() / 2 + 1),
          bytes.substr(0, bytes.size() - 100), earlier}) {
      std::ofstream(copy, std::ios::binary | std::ios::trunc) << damaged;
      PictureService service({kDefaultPictureBudget, cacheFolder()});
      EXPECT_EQ(Load(service, number), pixels);
      EXPECT_EQ(service.counts().fromDisk, 0);
      service.WaitIdle();
    }
  }
}

// A later run finds its copy by the key recorded beside it, without reading
// the source again. A record names one path and stamp only: a damaged one
// reads as absent, and a picture replaced as `cp -p` replaces it (other
// pixels in a file of the same size and modification time) is never shown
// from its old copy or record, nor from memory.
TEST_F(PictureServiceTest, AKeyRecordSparesReadingTheSourceUntilTheSourceIsReplaced) {
  namespace fs = std::filesystem;
  const std::string path = PicturePath(pictures(), 7), other = dir.path() + "/other.png";
  const auto second = Noise(800, 600, 2);
  ASSERT_TRUE(SavePng(second, 800, 600, other));
  // Both of one size, padded after the end of the PNG, which decoders ignore.
  const auto size = std::max(fs::file_size(path), fs::file_size(other));
  for (const std::string& file : {path, other}) {
    std::string bytes = testing::FileBytes(file);
    bytes.resize(size, '\0');
    testing::WriteBytes(file, bytes);
  }
  // Times that changed less than a second ago are not trusted to tell
  // versions apart, so nothing is recorded for them.
  const auto settle = [] { std::this_thread::sleep_for(std::chrono::milliseconds(1100)); };
  const auto run = [&](const std::vector<Colour>& expected, int fromDisk, int sourcesRead) {
    PictureService service({kDefaultPictureBudget, cacheFolder()});
    EXPECT_EQ(Load(service), expected);
    service.WaitIdle();
    EXPECT_EQ(service.counts().fromDisk, fromDisk);
    EXPECT_EQ(service.counts().sourcesRead, sourcesRead);
  };
  settle();
  run(first, 0, 1);
  run(first, 1, 0);
  std::vector<std::string> records;
  for (const auto& entry : fs::directory_iterator(cacheFolder()))
    if (entry.path().extension() == ".key") records.push_back(entry.path());
  ASSERT_EQ(records.size(), 1u);
  std::string record = testing::FileBytes(records[0]);
  record.back() ^= 1;  // the path it names
  testing::WriteBytes(records[0], record);
  run(first, 1, 1);
  run(first, 1, 0);

  PictureService service({kDefaultPictureBudget, cacheFolder()});
  EXPECT_EQ(Load(service), first);
  const auto modified = fs::last_write_time(path);
  fs::last_write_time(other, modified);
  fs::copy_file(other, path, fs::copy_options::overwrite_existing);  // cp -p
  fs::last_write_time(path, modified);
  EXPECT_EQ(Load(service), second);
  service.WaitIdle();
  run(second, 1, 1);
  settle();
  run(second, 1, 1);
  run(second, 1, 0);
}

// Copies made before the pictures were moved or installed elsewhere (a new
// folder, new files, every time set to 0, as packaging does) still match.
TEST_F(PictureServiceTest, ACopyMatchesTheSameBytesInAMovedTreeWithTimesAtZero) {
  {
    PictureService service({kDefaultPictureBudget, cacheFolder()});
    EXPECT_EQ(Load(service), first);
    service.WaitIdle();
  }
  const std::string moved = dir.path() + "/installed";
  std::filesystem::copy(pictures(), moved);
  std::filesystem::remove_all(pictures());
  const std::string path = PicturePath(moved, 7);
  std::filesystem::last_write_time(path, std::chrono::file_clock::from_sys(std::chrono::sys_seconds{}));
  PictureService service({kDefaultPictureBudget, cacheFolder()});
  Surface target;
  service.PicLoad(target, 7, moved);
  EXPECT_EQ(target.Image(), first);
  EXPECT_EQ(service.counts().fromDisk, 1);
}

// Tidying the folder: a temporary copy older than a day goes, a younger one
// (maybe another game's write in progress) stays; past the limit the least
// recently used copies go, a copy read in this run being used now. With a
// limit of 0 no copy is kept, and none is written.
TEST_F(PictureServiceTest, TidyingDropsOldTemporaryCopiesAndTheLeastRecentlyUsedPastTheLimit) {
  namespace fs = std::filesystem;
  {
    PictureService service({kDefaultPictureBudget, cacheFolder()});
    Load(service);
    service.WaitIdle();
  }
  const std::string used = DiskPictureCache(cacheFolder()).FileOf(PicturePath(pictures(), 7));
  const std::size_t copyBytes = fs::file_size(used);
  const auto now = fs::file_time_type::clock::now();
  const auto aged = [&](const std::string& name, int hours, std::size_t bytes) {
    const std::string file = name.starts_with("/") ? name : cacheFolder() + "/" + name;
    if (!fs::exists(file)) testing::WriteBytes(file, std::string(bytes, 'x'));
    fs::last_write_time(file, now - std::chrono::hours(hours));
    return file;
  };
  aged(used, 72, 0);
  const std::string older = aged("0123456789abcdef0123456789abcdef.pix", 48, copyBytes);
  const std::string newer = aged("fedcba9876543210fedcba9876543210.pix", 24, copyBytes);
  const std::string oldTemporary = aged("0123456789abcdef0123456789abcdef.pix.tmp-a1B2c3", 25, 100);
  const std::string youngTemporary = aged("fedcba9876543210fedcba9876543210.pix.tmp-Zz9yY8", 23, 100);
  const std::string oldTemporaryRecord = aged("0123456789abcdef0123456789abcdef.key.tmp-Qq1Ww2", 25, 10);
  const std::string notOurs = aged("notes.txt", 100, 3 * copyBytes);
  {
    PictureService service({kDefaultPictureBudget, cacheFolder(), std::chrono::milliseconds(0)});
    EXPECT_EQ(Load(service), first);
    EXPECT_EQ(service.counts().fromDisk, 1);
    service.KeepCopiesWithin(2 * copyBytes);
    service.WaitIdle();
  }
  for (const std::string& kept : {used, newer, youngTemporary, notOurs}) EXPECT_TRUE(fs::exists(kept)) << kept;
  for (const std::string& gone : {older, oldTemporary, oldTemporaryRecord}) EXPECT_FALSE(fs::exists(gone)) << gone;

  PictureService service({kDefaultPictureBudget, cacheFolder(), std::chrono::milliseconds(0)});
  service.KeepCopiesWithin(0);
  service.WaitIdle();
  EXPECT_EQ(Load(service), first);
  service.WaitIdle();
  for (const std::string& gone : {used, newer}) EXPECT_FALSE(fs::exists(gone)) << gone;
  EXPECT_EQ(service.counts().fromDisk, 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(cacheFolder()), {}), 2) << "the young temporary copy and notes.txt";
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
  // From the start: 5, then three ways each past the choice, both picks,
  // nearest first: the first after the choice on each pick before the second.
  EXPECT_EQ(UpcomingPictures(story, scene, 0, condition, 0, 3), (std::vector<int>{5, 10, 20, background, 30}));
  EXPECT_EQ(UpcomingPictures(story, scene, 0, condition, 0, 3, 2), (std::vector<int>{5, 10}));
  // On the choice itself: each pick's first three; pick 1 goes on into
  // scene 2 and stops at its game over.
  EXPECT_EQ(UpcomingPictures(story, scene, 2, condition, 0, 3), (std::vector<int>{10, 20, background, 30, 11}));
  EXPECT_EQ(UpcomingPictures(story, scene, 2, condition, 0, 3, 2), (std::vector<int>{10, 20}));
  // Inside pick 0's lane only that lane counts.
  EXPECT_EQ(UpcomingPictures(story, scene, 3, condition, 0, 3), (std::vector<int>{background, 11, 12}));
  EXPECT_EQ(UpcomingPictures(story, scene, 3, condition, 1, 3), (std::vector<int>{30}));
}

}  // namespace
}  // namespace pelmot
