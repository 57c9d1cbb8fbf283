// The logo movie: the command strings, the decoder on the generated movie,
// the player's pacing and drawing, failures, and the in-window message box.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "game_fixture.h"
#include "platform/cell_text.h"
#include "platform/common/mci_player.h"
#include "platform/common/movie_decoder.h"
#include "platform/headless/headless_services.h"
#include "platform/mci.h"
#include "platform/message_box.h"
#include "shell/movie.h"
#include "shell/screen.h"
#include "shell/startup.h"

namespace pelmot {
namespace {

using testing::TempDir;

const std::string kLogo = std::string(PELMOT_OUTPUT_DIR) + "/LOGO.avi";

// --- the command strings --------------------------------------------------------

MciCommand Parse(const std::string& text) {
  std::string error;
  auto c = ParseMciCommand(text, error);
  EXPECT_TRUE(c) << text << ": " << error;
  return c.value_or(MciCommand{});
}

TEST(MciCommands, TheGamesThreeCommands) {
  MciCommand open = Parse("open /g/LOGO.avi alias /g/LOGO.avi style child parent 1234");
  EXPECT_EQ(open.verb, MciCommand::Verb::kOpen);
  EXPECT_EQ(open.device, "/g/LOGO.avi");
  EXPECT_EQ(open.alias, "/g/LOGO.avi");
  EXPECT_EQ(open.parent, 1234);
  MciCommand play = Parse("play /g/LOGO.avi window");
  EXPECT_EQ(play.verb, MciCommand::Verb::kPlay);
  EXPECT_EQ(play.device, "/g/LOGO.avi");
  EXPECT_TRUE(play.inWindow);
  MciCommand close = Parse("close /g/LOGO.avi");
  EXPECT_EQ(close.verb, MciCommand::Verb::kClose);
  EXPECT_EQ(close.device, "/g/LOGO.avi");
}

TEST(MciCommands, PathsWithSpacesAndEvenTheWordAlias) {
  MciCommand open = Parse(
      "open /my games/an alias here/LOGO.avi alias /my games/an alias here/LOGO.avi "
      "style child parent 7");
  EXPECT_EQ(open.device, "/my games/an alias here/LOGO.avi");
  EXPECT_EQ(open.alias, "/my games/an alias here/LOGO.avi");
  EXPECT_EQ(open.parent, 7);
  EXPECT_EQ(Parse("play /my games/LOGO.avi window").device, "/my games/LOGO.avi");
  EXPECT_EQ(Parse("close /my games/LOGO.avi").device, "/my games/LOGO.avi");
  MciCommand quoted = Parse("open \"/a b/x.avi\" alias logo");
  EXPECT_EQ(quoted.device, "/a b/x.avi");
  EXPECT_EQ(quoted.Name(), "logo");
  EXPECT_FALSE(quoted.parent);
  MciCommand bare = Parse("play logo");
  EXPECT_FALSE(bare.inWindow);
  EXPECT_EQ(Parse("open x.avi").Name(), "x.avi");
}

TEST(MciCommands, AQuotedNameIsNeverReadAsKeywords) {
  const std::string file = "/home/a/Retro type games/my style alias/LOGO.avi";
  MciCommand open = Parse("open \"" + file + "\" alias \"" + file + "\" style child parent 1");
  EXPECT_EQ(open.device, file);
  EXPECT_EQ(open.alias, file);
  EXPECT_EQ(open.parent, 1);
  MciCommand play = Parse("play \"" + file + "\" window");
  EXPECT_EQ(play.device, file);
  EXPECT_TRUE(play.inWindow);
  EXPECT_EQ(Parse("close \"" + file + "\"").device, file);
  EXPECT_EQ(Parse("play \"/a/ends in window\"").device, "/a/ends in window");
  EXPECT_FALSE(Parse("play \"/a/ends in window\"").inWindow);
  // A quote inside a name closes nothing unless a space or the end follows.
  EXPECT_EQ(Parse("close \"/a/say \"hi\"/LOGO.avi\"").device, "/a/say \"hi\"/LOGO.avi");
  std::string error;
  EXPECT_FALSE(ParseMciCommand("close \"/a/never closed", error));
  EXPECT_NE(error.find("quote"), std::string::npos);
}

TEST(MciCommands, MistakesAreNamed) {
  std::string error;
  EXPECT_FALSE(ParseMciCommand("seek logo to start", error));
  EXPECT_NE(error.find("seek"), std::string::npos);
  EXPECT_FALSE(ParseMciCommand("open x.avi alias x.avi style child parent hwnd", error));
  EXPECT_NE(error.find("hwnd"), std::string::npos);
  EXPECT_FALSE(ParseMciCommand("play", error));
  EXPECT_FALSE(ParseMciCommand("close ", error));
}

// --- the generated movie ----------------------------------------------------------

int Brightest(const std::vector<Colour>& pixels) {
  int best = 0;
  for (Colour c : pixels) best = std::max({best, int(c >> 16 & 0xFF), int(c >> 8 & 0xFF), int(c & 0xFF)});
  return best;
}

TEST(LogoMovie, TheGeneratedMovieDecodesFrameByFrame) {
  MovieDecoder decoder;
  std::string error;
  ASSERT_TRUE(decoder.Open(kLogo, error)) << kLogo << ": " << error;
  EXPECT_DOUBLE_EQ(decoder.FrameRate(), 15.0);
  Surface picture(0, 0);
  std::vector<Colour> first;
  std::int64_t t = -1, last = -1;
  int frames = 0;
  while (decoder.NextFrame(picture, t, error)) {
    ASSERT_EQ(picture.Width(), 630);
    ASSERT_EQ(picture.Height(), 220);
    if (frames == 0) first = picture.Image();
    EXPECT_EQ(t, (frames * 1000 + 7) / 15) << "frame " << frames;  // 15 a second, in order
    EXPECT_GT(t, last);
    last = t;
    ++frames;
  }
  EXPECT_EQ(error, "");
  EXPECT_EQ(frames, 45);  // three seconds
  const std::vector<Colour>& pixels = picture.Image();
  for (Colour c : pixels) ASSERT_EQ(c >> 24, 0u) << "the padding byte must be 0";
  EXPECT_LT(Brightest(first), 40);    // it fades in from black
  EXPECT_GT(Brightest(pixels), 200);  // to a bright word
}

// Widths that are no multiple of eight are where a converter's fast path
// can stop short of the right edge.
TEST(LogoMovie, EveryColumnIsConvertedWhateverTheWidth) {
  TempDir dir;
  for (int width : {630, 631, 632}) {
    const std::string path = dir.path() + "/grey" + std::to_string(width) + ".avi";
    // Written by the logo's maker: FFmpeg stays out of the game's process.
    const std::string write = std::string(MAKE_LOGO) + " --grey " + std::to_string(width) + " '" + path + "'";
    ASSERT_EQ(std::system(write.c_str()), 0) << write;
    MovieDecoder decoder;
    std::string error;
    ASSERT_TRUE(decoder.Open(path, error)) << error;
    Surface picture(0, 0);
    std::int64_t t = 0;
    ASSERT_TRUE(decoder.NextFrame(picture, t, error)) << error;
    ASSERT_EQ(picture.Width(), width);
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = width - 8; x < width; ++x)
        ASSERT_GT(picture.ImagePixel(x, y) & 0xFF, 150u) << "width " << width << ", column " << x << ", row " << y;
  }
}

// The logo with its header claiming 16 x 16 pictures; the pictures in the
// stream are still 630 x 220.
std::string LogoClaimingSixteenSquare() {
  std::string bytes = testing::FileBytes(kLogo);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i) & 0xFF);
  };
  auto put16 = [&](std::size_t at, std::uint16_t v) {
    bytes[at] = static_cast<char>(v & 0xFF);
    bytes[at + 1] = static_cast<char>(v >> 8);
  };
  const std::size_t avih = bytes.find("avih"), strh = bytes.find("strh"), strf = bytes.find("strf");
  EXPECT_NE(avih, std::string::npos);
  EXPECT_NE(strh, std::string::npos);
  EXPECT_NE(strf, std::string::npos);
  put32(avih + 8 + 32, 16);  // dwWidth, dwHeight
  put32(avih + 8 + 36, 16);
  put16(strh + 8 + 52, 16);  // rcFrame's right and bottom
  put16(strh + 8 + 54, 16);
  put32(strf + 8 + 4, 16);  // biWidth, biHeight
  put32(strf + 8 + 8, 16);
  return bytes;
}

TEST(LogoMovie, PicturesKeepTheirDecodedSizeWhateverTheHeaderSays) {
  TempDir dir;
  const std::string path = dir.path() + "/LOGO.avi";
  std::ofstream(path, std::ios::binary) << LogoClaimingSixteenSquare();
  MovieDecoder decoder;
  std::string error;
  ASSERT_TRUE(decoder.Open(path, error)) << error;
  Surface picture(0, 0);
  std::int64_t t = 0;
  int frames = 0;
  while (decoder.NextFrame(picture, t, error)) {
    EXPECT_EQ(picture.Width() * picture.Height(), static_cast<int>(picture.Image().size()));
    ++frames;
  }
  EXPECT_GT(frames, 0);
  EXPECT_EQ(picture.Width(), 630);
  EXPECT_EQ(picture.Height(), 220);
}

TEST(LogoMovie, ADamagedOrMissingFileIsRefusedWithAReason) {
  TempDir dir;
  std::ofstream(dir.path() + "/bad.avi") << "RIFF....AVI not really a movie";
  MovieDecoder decoder;
  std::string error;
  EXPECT_FALSE(decoder.Open(dir.path() + "/bad.avi", error));
  EXPECT_NE(error, "");
  EXPECT_FALSE(decoder.Open(dir.path() + "/none.avi", error));
  EXPECT_NE(error, "");
  EXPECT_FALSE(decoder.IsOpen());
}

// --- the player --------------------------------------------------------------------

class Player : public ::testing::Test {
 protected:
  Player() : player(dialogs, [this] { return now; }) {
    screen.SetShown(true);
    screen.backColour = Rgb(1, 2, 3);
    screen.Clear();
    screen.Refresh();
    player.AttachWindow(1, screen);
  }
  void Start(const std::string& file) {
    player.SendString("open " + file + " alias " + file + " style child parent 1");
    player.Execute("play " + file + " window");
  }
  std::vector<Colour> MovieArea() const {
    std::vector<Colour> out;
    for (int y = 0; y < 220; ++y)
      for (int x = 0; x < 630; ++x) out.push_back(screen.ScreenPixel(x, y));
    return out;
  }

  std::int64_t now = 1000;
  HeadlessDialogs dialogs;
  Surface screen;  // stands for MainPic
  MciPlayer player;
};

TEST_F(Player, PlaysOnTheScreenCopyAtTheTopLeftPacedByTheFrameTimes) {
  Start(kLogo);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(player.IsPlaying(kLogo));
  EXPECT_EQ(player.FramesShown(kLogo), 1);  // the first picture at once
  EXPECT_EQ(screen.ScreenPixel(629, 219) >> 16, 0u);
  EXPECT_EQ(screen.ScreenPixel(630, 219), Rgb(1, 2, 3));  // beside it: untouched
  EXPECT_EQ(screen.ScreenPixel(0, 220), Rgb(1, 2, 3));
  EXPECT_EQ(screen.ImagePixel(0, 0), Rgb(1, 2, 3));  // the kept image is not drawn on
  EXPECT_EQ(player.MillisToNextDrawing(), 67);
  now += 30;
  EXPECT_FALSE(player.DrawDue());
  EXPECT_EQ(player.MillisToNextDrawing(), 37);
  now += 37;
  EXPECT_TRUE(player.DrawDue());
  EXPECT_EQ(player.FramesShown(kLogo), 2);
}

// Behind time, each drawing skips a few pictures and asks to come again at
// once, until the movie has caught up: one drawing never takes them all.
TEST_F(Player, BehindTimeItCatchesUpAFewPicturesADrawingAndTheLastOneStays) {
  Start(kLogo);
  now += 60000;
  int drawings = 0;
  while (player.MillisToNextDrawing() == 0 && drawings < 45) {
    EXPECT_TRUE(player.DrawDue());
    ++drawings;
  }
  EXPECT_EQ(drawings, 11);  // the other 44 pictures, 4 a drawing
  EXPECT_EQ(player.PicturesTaken(kLogo), 45);
  EXPECT_EQ(player.FramesShown(kLogo), 12);
  EXPECT_FALSE(player.IsPlaying(kLogo));
  EXPECT_TRUE(player.IsOpen(kLogo));
  EXPECT_FALSE(player.MillisToNextDrawing());
  const auto last = MovieArea();
  EXPECT_GT(Brightest(last), 200);
  now += 5000;
  EXPECT_FALSE(player.DrawDue());
  EXPECT_EQ(MovieArea(), last);
  // Playing again at the end shows nothing new.
  player.Execute("play " + kLogo + " window");
  EXPECT_FALSE(player.IsPlaying(kLogo));
}

TEST_F(Player, ClosingGivesTheSurfacesOwnPictureBack) {
  Start(kLogo);
  now += 2000;
  player.DrawDue();
  player.Execute("close " + kLogo);
  EXPECT_FALSE(player.IsOpen(kLogo));
  EXPECT_FALSE(player.MillisToNextDrawing());
  for (Colour c : MovieArea()) ASSERT_EQ(c, Rgb(1, 2, 3));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(Player, AMissingMovieIsReportedOnceByPlayNamingTheFile) {
  const std::string missing = "/no/such/folder/LOGO.avi";
  player.SendString("open " + missing + " alias " + missing + " style child parent 1");
  EXPECT_TRUE(dialogs.messages.empty());  // the open's result is not looked at
  player.Execute("play " + missing + " window");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], MovieFailureMessage(missing, MissingFileReason()));
  EXPECT_EQ(dialogs.messages[0].rfind(missing, 0), 0u);
  player.Execute("close " + missing);  // closing what never opened says nothing more
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_FALSE(player.MillisToNextDrawing());
  EXPECT_EQ(screen.ScreenPixel(0, 0), Rgb(1, 2, 3));
}

TEST_F(Player, ABrokenMovieIsReportedWithTheFileAndTheDecodersReason) {
  TempDir dir;
  const std::string broken = dir.path() + "/LOGO.avi";
  std::ofstream(broken) << std::string(4096, 'x');
  Start(broken);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].rfind(broken, 0), 0u);
  EXPECT_NE(dialogs.messages[0].find("再生できません"), std::string::npos) << dialogs.messages[0];
}

TEST_F(Player, UnknownDevicesAndCommandsAreReportedByExecuteOnly) {
  player.SendString("play nothing window");
  EXPECT_TRUE(dialogs.messages.empty());
  player.Execute("play nothing window");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], MovieFailureMessage("nothing", UnknownDeviceReason()));
  player.Execute("rewind nothing");
  EXPECT_EQ(dialogs.messages.size(), 2u);
}

TEST_F(Player, AHeaderThatLiesAboutThePictureSizeCannotOverrunAnything) {
  TempDir dir;
  const std::string file = dir.path() + "/LOGO.avi";
  std::ofstream(file, std::ios::binary) << LogoClaimingSixteenSquare();
  Start(file);
  EXPECT_TRUE(dialogs.messages.empty());
  now += 60000;
  while (player.MillisToNextDrawing() == 0) player.DrawDue();
  EXPECT_GT(Brightest(MovieArea()), 200) << "the whole 630 x 220 picture shows";
  player.Execute("close " + file);
  for (Colour c : MovieArea()) ASSERT_EQ(c, Rgb(1, 2, 3));
}

TEST_F(Player, APipeNamedLikeTheMovieIsReportedNotWaitedOn) {
  TempDir dir;
  const std::string file = dir.path() + "/LOGO.avi";
  ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
  Start(file);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].rfind(file, 0), 0u) << dialogs.messages[0];
  EXPECT_NE(dialogs.messages[0].find("pipe"), std::string::npos) << dialogs.messages[0];
}

TEST_F(Player, AMovieWithoutAKnownWindowPlaysWithoutDrawing) {
  player.SendString("open " + kLogo + " alias logo style child parent 99");
  player.Execute("play logo window");
  EXPECT_TRUE(player.IsPlaying("logo"));
  EXPECT_EQ(screen.ScreenPixel(0, 0), Rgb(1, 2, 3));
  now += 100;
  EXPECT_FALSE(player.DrawDue());
}

TEST(HeadlessMovie, RecordsTheCommandsAndChecksTheMovieWithoutShowingIt) {
  HeadlessDialogs dialogs;
  HeadlessMultimedia checked(dialogs);
  const std::string missing = "/no/such/LOGO.avi";
  checked.SendString("open " + missing + " alias " + missing + " style child parent 1");
  checked.Execute("play " + missing + " window");
  EXPECT_EQ(checked.commands.size(), 2u);
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{MovieFailureMessage(missing, MissingFileReason())});
  checked.Execute("open " + kLogo + " alias logo style child parent 1");
  checked.Execute("play logo window");
  EXPECT_EQ(dialogs.messages.size(), 1u);

  HeadlessMultimedia recorder;  // tests' own: records only
  recorder.Execute("play " + missing + " window");
  EXPECT_EQ(recorder.commands, std::vector<std::string>{"play " + missing + " window"});
}

// --- the logo in the game -------------------------------------------------------------

// A game on the real multimedia layer, with the generated content, as the
// window runs it (minus the window).
class GameWithMovie : public ::testing::Test {
 protected:
  GameWithMovie()
      : player(dialogs, [this] { return now; }),
        services{clock, dialogs, display, player, pictures, text, files, codePage, lock, clock},
        game(services, GamePaths{root.path(), PELMOT_OUTPUT_DIR}, StandardModes()) {
    player.AttachWindow(kMainPicHandle, game.form.MainPic);
  }
  // What the player sees at x, y of the client area.
  Colour Seen(int x, int y) {
    ComposeClientArea(game, frame);
    return frame[y * 800 + x];
  }
  int BrightestInLogoArea() {
    ComposeClientArea(game, frame);
    int best = 0;
    for (int y = 190; y < 410; ++y)
      for (int x = 85; x < 715; ++x) best = std::max(best, int(frame[y * 800 + x] >> 8 & 0xFF));
    return best;
  }
  void Event(const std::function<void()>& f) {
    f();
    AfterEvent(game);
  }
  // Draws as the window does while the movie is behind time: again at once.
  bool CatchUp() {
    bool drew = false;
    while (player.MillisToNextDrawing() == 0) drew |= player.DrawDue();
    return drew;
  }

  std::int64_t now = 0;
  TempDir root;
  HeadlessClock clock;
  HeadlessDialogs dialogs;
  HeadlessDisplay display;
  MciPlayer player;
  PngPictureLoader pictures;
  CellTextEngine text;
  SystemFiles files;
  Cp932CodePage codePage;
  FileInstanceLock lock;
  Services services;
  Game game;
  std::vector<Colour> frame = std::vector<Colour>(kScreenPixels);
};

TEST_F(GameWithMovie, AContentFolderNamedWithTheCommandsWordsStillPlaysTheLogo) {
  const std::string folder = root.path() + "/Retro type games style child alias x parent 3";
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(kLogo, folder + "/LOGO.avi");
  game.paths.content = folder;
  StartUp(game);
  AfterEvent(game);
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front();
  now = 2000;
  EXPECT_TRUE(CatchUp());
  EXPECT_GT(BrightestInLogoArea(), 150);
  const std::string movie = game.state.MoviePath;
  EXPECT_EQ(movie, folder + "/LOGO.avi");
  Event([&] { RouteMouseDown(game, kLeftButton, 0, 300, 300); });
  EXPECT_FALSE(player.IsOpen(movie));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(GameWithMovie, TheLogoShowsAt85190AndSurvivesEventsUntilTheFirstAdvance) {
  StartUp(game);
  AfterEvent(game);
  EXPECT_TRUE(dialogs.messages.empty());
  now = 2000;  // faded in
  EXPECT_TRUE(CatchUp());
  EXPECT_GT(BrightestInLogoArea(), 150);
  EXPECT_EQ(Seen(84, 189), kBlack);
  // Moving the pointer, a right click and F1 do not advance and leave the logo.
  Event([&] { RouteMouseMove(game, 0, 0, 300, 300); });
  Event([&] { RouteMouseDown(game, kRightButton, 0, 300, 300); });
  Event([&] { Form_KeyDown(game, kKeyF1, 0); });
  Event([&] { Form_KeyUp(game, kKeyF1, 0); });
  EXPECT_GT(BrightestInLogoArea(), 150);
  EXPECT_TRUE(player.IsOpen(game.state.MoviePath));
  // The first click closes it; the title picture fills the window.
  const std::string movie = game.state.MoviePath;
  Event([&] { RouteMouseDown(game, kLeftButton, 0, 300, 300); });
  EXPECT_FALSE(player.IsOpen(movie));
  EXPECT_FALSE(player.MillisToNextDrawing());
  Surface title;  // picture 0 as the loader draws it
  pictures.PicLoad(title, 0, game.PictureFolder());
  for (int y : {0, 200, 300, 599})
    for (int x : {0, 100, 400, 799}) EXPECT_EQ(Seen(x, y), title.ImagePixel(x, y)) << x << "," << y;
}

// --- the message box drawn in the window ---------------------------------------------

TEST(InWindowBox, YesNoIsCentredAndAnsweredByKeysOrByPressAndReleaseOnAButton) {
  testing::RecordingText text;
  using Key = InWindowMessageBox::Key;
  InWindowMessageBox box("ゲームを終了しますか？", {"はい", "いいえ"}, 0, 1, &text);
  const BoxRect& f = box.Frame();
  EXPECT_EQ(f.x * 2 + f.w, 800);
  EXPECT_EQ(f.y * 2 + f.h, 600);
  EXPECT_LT(box.Button(0).x, box.Button(1).x);
  EXPECT_EQ(box.KeyPressed(Key::kEnter), 0);  // はい has the focus
  EXPECT_EQ(box.KeyPressed(Key::kEscape), 1);
  EXPECT_EQ(box.KeyPressed(Key::kNext), InWindowMessageBox::kNone);
  EXPECT_EQ(box.KeyPressed(Key::kEnter), 1);
  EXPECT_EQ(box.KeyPressed(Key::kPrevious), InWindowMessageBox::kNone);
  EXPECT_EQ(box.Focus(), 0);

  const BoxRect no = box.Button(1), yes = box.Button(0);
  EXPECT_EQ(box.PointerPressed(no.x + 5, no.y + 5), InWindowMessageBox::kNone);
  EXPECT_EQ(box.PointerReleased(yes.x + 5, yes.y + 5), InWindowMessageBox::kNone);  // slid off
  box.PointerPressed(no.x + 5, no.y + 5);
  EXPECT_EQ(box.PointerReleased(no.x + no.w - 1, no.y + no.h - 1), 1);
  EXPECT_EQ(box.PointerPressed(f.x + 1, f.y + 1), InWindowMessageBox::kNone);
  EXPECT_EQ(box.PointerReleased(f.x + 1, f.y + 1), InWindowMessageBox::kNone);

  Surface screen;
  testing::Fill(screen, Rgb(200, 200, 200));
  box.Draw(screen);
  EXPECT_TRUE(text.Drew("ゲームを終了しますか？"));
  EXPECT_TRUE(text.Drew("はい"));
  EXPECT_TRUE(text.Drew("いいえ"));
  EXPECT_EQ(screen.ImagePixel(5, 5), Rgb(100, 100, 100));         // the window behind is dimmed
  EXPECT_EQ(screen.ImagePixel(f.x, f.y), Rgb(0xF0, 0xF0, 0xF0));  // the frame
}

TEST(InWindowBox, ALongMessageWrapsInsideTheBox) {
  testing::RecordingText text;
  const std::string path = "/home/player/" + std::string(150, 'a') + "/LOGO.avi";
  InWindowMessageBox box(MovieFailureMessage(path, MissingFileReason()), {"OK"}, 0, 0, &text);
  EXPECT_GE(box.Lines().size(), 4u);
  for (const auto& line : box.Lines())
    EXPECT_LE(text.Width(line, InWindowMessageBox::kTextPixels), box.Frame().w - 48) << line;
  EXPECT_LE(box.Frame().w, 760);
  EXPECT_EQ(box.KeyPressed(InWindowMessageBox::Key::kEscape), 0);
}

}  // namespace
}  // namespace pelmot
