// The movie helper program: damaged movies, a helper that dies or hangs in
// the middle of a movie, and where the helper is looked for.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "game_fixture.h"
#include "platform/common/mci_player.h"
#include "platform/common/movie_decoder.h"
#include "platform/headless/headless_services.h"

namespace pelmot {
namespace {

using testing::TempDir;

const std::string kLogoMovie = std::string(PELMOT_OUTPUT_DIR) + "/LOGO.avi";

std::string Write(const TempDir& dir, const std::string& bytes) {
  const std::string path = dir.path() + "/LOGO.avi";
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// The helper programs this process started and has not reaped (its children
// named pelmot-movie, or `name`), running or not.
std::vector<pid_t> Helpers(const std::string& name = "pelmot-movie") {
  std::vector<pid_t> found;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string number = entry.path().filename().string();
    if (number.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string pid, comm, state;
    long parent = 0;
    if (!(stat >> pid >> comm >> state >> parent)) continue;
    if (parent == ::getpid() && comm == "(" + name.substr(0, 15) + ")") found.push_back(std::stoi(pid));
  }
  return found;
}

// Decodes every picture; the count, and the error that ended it.
int DecodeAll(MovieDecoder& decoder, std::string& error) {
  Surface picture(0, 0);
  std::int64_t t = 0;
  int frames = 0;
  while (decoder.NextFrame(picture, t, error)) ++frames;
  return frames;
}

TEST(MovieHelper, DamagedMoviesAreRefusedOrEndEarlyAndTheHelperGoes) {
  const std::string logo = testing::FileBytes(kLogoMovie);
  ASSERT_GT(logo.size(), 4096u);
  std::mt19937 noise(12);
  std::string garbage = "RIFF";
  for (int i = 0; i < 20000; ++i) garbage += static_cast<char>(noise());
  std::string scrambled = logo;  // the header intact, the pictures' bytes noise
  for (std::size_t i = 4096; i < scrambled.size(); i += 7) scrambled[i] = static_cast<char>(noise());
  for (const std::string& bytes : {logo.substr(0, 200), logo.substr(0, logo.size() / 2), garbage, scrambled}) {
    TempDir dir;
    MovieDecoder decoder;
    std::string error;
    if (!decoder.Open(Write(dir, bytes), error)) {
      EXPECT_NE(error, "");
    } else {
      EXPECT_LT(DecodeAll(decoder, error), 46);
    }
    decoder.Close();
    EXPECT_TRUE(Helpers().empty()) << "a closed decoder leaves no helper behind";
  }
}

TEST(MovieHelper, FfmpegNeverMapsIntoTheGame) {
  MovieDecoder decoder;
  std::string error;
  ASSERT_TRUE(decoder.Open(kLogoMovie, error)) << error;
  EXPECT_GT(DecodeAll(decoder, error), 40);
  const std::string maps = testing::FileBytes("/proc/self/maps");
  EXPECT_EQ(maps.find("libavcodec"), std::string::npos);
  EXPECT_EQ(maps.find("libavformat"), std::string::npos);
}

TEST(MovieHelper, AHelperThatDiesOrHangsEndsTheMovieWithAReason) {
  for (int signal : {SIGKILL, SIGSTOP}) {  // dies (as in a crash), or hangs
    MovieDecoder decoder;
    std::string error;
    ASSERT_TRUE(decoder.Open(kLogoMovie, error)) << error;
    Surface picture(0, 0);
    std::int64_t t = 0;
    ASSERT_TRUE(decoder.NextFrame(picture, t, error)) << error;
    const std::vector<pid_t> helpers = Helpers();
    ASSERT_EQ(helpers.size(), 1u);
    ::kill(helpers[0], signal);
    int frames = 0;
    while (decoder.NextFrame(picture, t, error)) ++frames;
    EXPECT_LT(frames, 44) << "signal " << signal;
    EXPECT_NE(error, "") << "signal " << signal;
    decoder.Close();
    EXPECT_TRUE(Helpers().empty());
  }
}

TEST(MovieHelper, ThePlayerKeepsTheLastPictureWhenTheHelperDiesAndTheGameGoesOn) {
  std::int64_t now = 1000;
  HeadlessDialogs dialogs;
  MciPlayer player(dialogs, [&now] { return now; });
  Surface screen;
  screen.SetShown(true);
  player.AttachWindow(1, screen);
  player.SendString("open " + kLogoMovie + " alias logo style child parent 1");
  player.Execute("play logo window");
  ASSERT_TRUE(player.IsPlaying("logo"));
  now += 500;
  player.DrawDue();
  for (pid_t helper : Helpers()) ::kill(helper, SIGKILL);
  now += 5000;
  player.DrawDue();
  EXPECT_FALSE(player.IsPlaying("logo"));
  EXPECT_LT(player.FramesShown("logo"), 45);
  EXPECT_TRUE(dialogs.messages.empty());
  player.Execute("close logo");
  EXPECT_TRUE(Helpers().empty());
}

// Runs a copy of the program in `folder` headless (the logo plays at start)
// with the dynamic loader's log on; returns the log, which names every
// program run and library loaded.
std::string LoaderLogOfACopyIn(const std::string& folder) {
  const std::string program = folder + "/pelmot";
  std::filesystem::copy_file(std::string(PELMOT_OUTPUT_DIR) + "/pelmot", program);
  std::ofstream(folder + "/script.txt") << "state\n";
  const std::string log = folder + "/loader.txt";
  const std::string command = "LD_DEBUG=files LD_DEBUG_OUTPUT='" + log + "' '" + program + "' --headless --script '" +
                              folder + "/script.txt' --content '" + PELMOT_OUTPUT_DIR + "' --data-dir '" + folder +
                              "/data' >/dev/null 2>&1";
  EXPECT_NE(std::system(command.c_str()), -1);
  std::string all;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename().string().rfind("loader.txt", 0) == 0) all += testing::FileBytes(entry.path());
  }
  return all;
}

// A helper that cannot run (a library missing: the loader's exit 127) is
// seen the moment it ends, and the message says how it ended instead of
// waiting out the time a slow start is given.
TEST(MovieHelper, AHelperThatDiesBeforeItsFirstReplySaysHowItEnded) {
  TempDir folder;
  std::filesystem::copy_file(std::string(PELMOT_OUTPUT_DIR) + "/pelmot", folder.path() + "/pelmot");
  std::ofstream(folder.path() + "/pelmot-movie") << "#!/bin/sh\nexit 127\n";
  std::filesystem::permissions(folder.path() + "/pelmot-movie", std::filesystem::perms::owner_all);
  std::ofstream(folder.path() + "/script.txt") << "state\n";
  const testing::CommandRun run =
      testing::RunCommand("'" + folder.path() + "/pelmot' --headless --script '" + folder.path() +
                          "/script.txt' --content '" + PELMOT_OUTPUT_DIR + "' --data-dir '" + folder.path() + "/data'");
  EXPECT_NE(run.err.find("the movie decoder stopped (exit status 127)"), std::string::npos) << run.err;
}

// --- a helper started ahead of its movie ------------------------------------------

const std::string kHelper = std::string(PELMOT_OUTPUT_DIR) + "/pelmot-movie";

std::unique_ptr<MovieDecoder> StartedDecoder(const std::string& program) {
  auto decoder = std::make_unique<MovieDecoder>();
  std::string error;
  EXPECT_TRUE(decoder->StartHelper(program, error)) << error;
  return decoder;
}

TEST(MovieHelper, StartedAheadItGetsItsMovieLaterOrGoesUnused) {
  {
    auto decoder = StartedDecoder(kHelper);
    EXPECT_EQ(Helpers().size(), 1u);
    EXPECT_FALSE(decoder->IsOpen());
    std::string error;
    ASSERT_TRUE(decoder->Open(kLogoMovie, error)) << error;
    EXPECT_EQ(Helpers().size(), 1u) << "the started helper plays the movie";
    EXPECT_EQ(DecodeAll(*decoder, error), 45);
    EXPECT_EQ(error, "");
  }
  EXPECT_TRUE(Helpers().empty());
  {
    auto unused = StartedDecoder(kHelper);  // the game stopped before its logo
  }
  EXPECT_TRUE(Helpers().empty()) << "an unused helper is ended and reaped";
  auto decoder = StartedDecoder(kHelper);
  std::string error;
  EXPECT_FALSE(decoder->Open("/no/such/LOGO.avi", error));
  EXPECT_TRUE(Helpers().empty()) << "a movie that cannot play ends its helper at once";
  EXPECT_FALSE(decoder->StartHelper("/no/such/pelmot-movie", error));
  EXPECT_NE(error.find("/no/such/pelmot-movie"), std::string::npos) << error;
  EXPECT_TRUE(decoder->Open(kLogoMovie, error)) << "the helper beside the program is tried again: " << error;
}

TEST(MovieHelper, ThePlayerHandsItsMovieToTheHelperStartedAhead) {
  std::int64_t now = 1000;
  HeadlessDialogs dialogs;
  MciPlayer player(dialogs, [&now] { return now; });
  player.UseStartedDecoder(StartedDecoder(kHelper));
  player.SendString("open /no/such/LOGO.avi alias logo");
  EXPECT_TRUE(Helpers().empty());
  player.UseStartedDecoder(StartedDecoder(kHelper));
  const pid_t started = Helpers().at(0);
  player.SendString("open " + kLogoMovie + " alias logo");
  player.Execute("play logo");
  EXPECT_TRUE(player.IsPlaying("logo"));
  EXPECT_EQ(Helpers(), std::vector<pid_t>{started});
  EXPECT_TRUE(dialogs.messages.empty());
}

// --- a helper that lies ------------------------------------------------------------

const std::string kFake = FAKE_MOVIE_HELPER;

// A player whose next movie is the fake helper's, told by `plan`.
struct FakeMovie {
  explicit FakeMovie(const std::string& plan) : player(dialogs, [this] { return now; }) {
    screen.SetShown(true);
    player.AttachWindow(1, screen);
    std::ofstream(file) << plan;
    player.UseStartedDecoder(StartedDecoder(kFake));
    player.SendString("open " + file + " alias fake style child parent 1");
    player.Execute("play fake window");
  }
  // Draws until the movie ends, at most `calls` times, each far past the
  // last picture's time; the most pictures one drawing took (the play's
  // drawing too: the open took the first picture).
  int MostTakenByOneDrawing(int calls) {
    int most = player.PicturesTaken("fake") - 1;
    for (int i = 0; i < calls && player.IsPlaying("fake"); ++i) {
      const int before = player.PicturesTaken("fake");
      now += 1000;
      player.DrawDue();
      most = std::max(most, player.PicturesTaken("fake") - before);
    }
    return most;
  }

  TempDir dir;
  const std::string file = dir.path() + "/LOGO.avi";
  std::int64_t now = 1000;
  HeadlessDialogs dialogs;
  Surface screen;
  MciPlayer player;
};

// However many pictures are due, one drawing takes a few from the helper:
// the game's events are seen between drawings, and the movie still ends.
TEST(MovieHelper, ManyPicturesDueAtOnceArePacedByTheDrawings) {
  for (const std::string plan : {"pictures 20000 0 0", "pictures 20000 0 1"}) {
    FakeMovie movie(plan);
    EXPECT_TRUE(movie.player.IsPlaying("fake")) << plan;
    EXPECT_LE(movie.MostTakenByOneDrawing(20000 / MciPlayer::kMostPicturesPerDrawing + 1),
              MciPlayer::kMostPicturesPerDrawing)
        << plan;
    EXPECT_FALSE(movie.player.IsPlaying("fake")) << plan;
    EXPECT_EQ(movie.screen.ScreenPixel(15, 15), 0xFFFFFFu) << plan;
    EXPECT_TRUE(movie.dialogs.messages.empty()) << plan;
  }
  EXPECT_TRUE(Helpers("fake_movie_helper").empty());
}

// Every time and status the helper gives is checked: a bad one ends the
// movie with a reason naming it, shown when the first picture is bad, and
// the helper goes.
TEST(MovieHelper, AHelperThatLiesEndsTheMovieWithAReason) {
  const struct {
    std::string plan, reason;
  } lies[] = {
      {"opened 9", "answer it should not (status 9)"},
      {"opened 1", "answer it should not (status 1)"},
      {"reply 7", "answer it should not (status 7)"},
      {"pictures 3 0 40 reply 2", "answer it should not (status 2)"},
      {"pictures 1 -9223372036854775808 0", "time is out of range (-9223372036854775808 ms)"},
      {"pictures 2 0 40 pictures 1 9223372036854775807 0", "time is out of range (9223372036854775807 ms)"},
      {"pictures -1 500 0", "pictures share one time (500 ms)"},
      {"pictures 5 0 40 pictures 1 100 0", "times go backwards (from 160 ms to 100 ms)"},
  };
  for (const auto& lie : lies) {
    TempDir dir;
    const std::string file = dir.path() + "/LOGO.avi";
    std::ofstream(file) << lie.plan;
    auto decoder = StartedDecoder(kFake);
    std::string error;
    if (decoder->Open(file, error)) DecodeAll(*decoder, error);
    EXPECT_NE(error.find(lie.reason), std::string::npos) << lie.plan << ": " << error;
    EXPECT_FALSE(decoder->IsOpen()) << lie.plan;
    EXPECT_TRUE(Helpers("fake_movie_helper").empty()) << lie.plan;

    FakeMovie movie(lie.plan);
    movie.MostTakenByOneDrawing(100);
    EXPECT_FALSE(movie.player.IsPlaying("fake")) << lie.plan;
    const bool badStart = movie.player.PicturesTaken("fake") == 0;
    ASSERT_EQ(movie.dialogs.messages.size(), badStart ? 1u : 0u) << lie.plan;
    if (badStart) {
      EXPECT_NE(movie.dialogs.messages[0].find(lie.reason), std::string::npos) << movie.dialogs.messages[0];
      EXPECT_EQ(movie.dialogs.messages[0].find("（）"), std::string::npos);
    }
  }
}

TEST(MovieHelper, IsRunFromBesideTheProgramNeverFromTheBuildFolder) {
  const std::string built = std::string(PELMOT_OUTPUT_DIR) + "/pelmot-movie";
  TempDir alone;
  const std::string withoutHelper = LoaderLogOfACopyIn(alone.path());
  ASSERT_NE(withoutHelper, "") << "the loader wrote no log";
  EXPECT_EQ(withoutHelper.find(built), std::string::npos) << "a copy ran the build folder's helper";
  EXPECT_EQ(withoutHelper.find("libavcodec"), std::string::npos);
  TempDir paired;
  std::filesystem::copy_file(built, paired.path() + "/pelmot-movie");
  const std::string withHelper = LoaderLogOfACopyIn(paired.path());
  EXPECT_NE(withHelper.find(paired.path() + "/pelmot-movie"), std::string::npos);
  EXPECT_NE(withHelper.find("libavcodec"), std::string::npos) << "the helper decoded the logo";
  EXPECT_EQ(withHelper.find(built), std::string::npos);
}

}  // namespace
}  // namespace pelmot
