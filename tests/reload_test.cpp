// An author's edits while the game runs, through the headless `reload`: a
// copy of the build's content folder is played as a script plays it, and
// between two parts of the script the test edits the copy as an author
// would (the scenario's words, a broken entry, a picture), so the game is
// the same run throughout. The window's watch makes the same call on a
// change (tests/window_test.sh shows it there).
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/script_runner.h"
#include "app/state_json.h"
#include "game_fixture.h"
#include "platform/common/picture_service.h"
#include "platform/common/write_behind.h"
#include "platform/script_hooks.h"

namespace pelmot {
namespace {

namespace fs = std::filesystem;

// The headless program's own set-up, on a copy of the content folder and a
// picture service with packed copies on disk (so a stale copy would show).
class AuthorRun {
 public:
  AuthorRun() {
    for (const char* part : {"scenario.txt", "PELMOTPIC", "SYSPIC", "LOGO.avi"})
      fs::copy(fs::path(PELMOT_OUTPUT_DIR) / part, fs::path(content()) / part, fs::copy_options::recursive);
    session_ = std::make_unique<GameSession>(services_, GamePaths{dir_.path() + "/data", content()});
    std::ostringstream problems;
    EXPECT_TRUE(session_->InstallStory(problems)) << problems.str();
    session_->Start();
  }
  ~AuthorRun() { session_->Finish(err_); }

  std::string content() const { return dir_.path(); }
  std::string scenario() const { return content() + "/scenario.txt"; }

  // Runs script lines; the exit status, with what they printed in `out`.
  int Play(const std::string& script) {
    std::istringstream in(script);
    std::vector<ScriptCommand> commands;
    ScriptError error;
    if (!ParseScript(in, "reload", commands, error)) {
      ADD_FAILURE() << error.message;
      return kScriptBad;
    }
    return RunScript(session_->host(), hooks_, commands, "reload", {out_, err_});
  }
  std::string Field(const std::string& name) {
    for (const auto& [field, value] : StateFields(session_->host())) {
      if (field == name) return value;
    }
    return "";
  }
  testing::Pixels Screen() {
    testing::Pixels pixels(static_cast<std::size_t>(kScreenWidth) * kScreenHeight);
    session_->host().Compose(pixels);
    return pixels;
  }
  Game& game() { return session_->game(); }

 private:
  testing::TempDir dir_;
  HeadlessClock clock_;
  HeadlessDialogs dialogs_{err_};
  HeadlessDisplay display_;
  HeadlessMultimedia multimedia_{dialogs_};
  PictureService pictures_{{kDefaultPictureBudget, dir_.path() + "/picture-cache"}};
  CellTextEngine text_;
  SystemFiles systemFiles_;
  WriteBehindFiles files_{systemFiles_};
  Cp932CodePage codePage_;
  FileInstanceLock lock_;
  Services services_{clock_, dialogs_, display_, multimedia_, pictures_, text_, files_, codePage_, lock_, clock_};
  std::unique_ptr<GameSession> session_;
  HeadlessScriptHooks hooks_{clock_, dialogs_};
  std::ostringstream out_, err_;
};

// The scenario's text with `from` replaced by `to` once (the test fails
// when `from` is not there).
void Replace(const std::string& path, const std::string& from, const std::string& to) {
  std::string text = testing::FileBytes(path);
  const auto at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
  std::string error;
  ASSERT_TRUE(ReplaceFile(path, text, error)) << error;
}

// The line number in the file where `text` starts.
int LineInFile(const std::string& path, const std::string& text) {
  const std::string bytes = testing::FileBytes(path);
  const auto at = bytes.find(text);
  return at == std::string::npos ? -1 : 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + at, '\n'));
}

// Two choices into the story, two lines after the second pick: scene 5's
// text over its picture, with the values the pick set.
constexpr const char* kToADayLine = R"(
click 5 5
click 5 5
pick 0
shift down
tick 100000
shift up
click 400 300
pick 1
shift down
tick 100000
shift up
click 400 300
pick 0
click 400 300
click 400 300
)";

TEST(LiveReload, AnEditShowsAtTheSamePlaceABrokenOneKeepsTheOldAndAPictureIsDecodedAgain) {
  AuthorRun run;
  ASSERT_EQ(run.Play(kToADayLine), kScriptOk);
  const std::string shown = run.Field("ShownText");
  const std::string where[] = {"SceneNo", "StepNo", "LineNo", "Params", "Condition", "DayNo", "LastChoice"};
  std::map<std::string, std::string> before;
  for (const std::string& field : where) before[field] = run.Field(field);
  ASSERT_NE(before["Params"], "[0,0,0,0]");
  const int picture = run.game().mainWorkPicture;
  ASSERT_NE(picture, kNoPicture);

  // The line on screen, its words changed: shown again at once, where it was.
  const std::string words = shown.substr(1, shown.find_first_of("\"\\", 1) - 1);  // its first row
  Replace(run.scenario(), "| " + words, "| " + words + " 書き直し");
  ASSERT_EQ(run.Play("reload"), kScriptOk);
  const std::string edited = "\"" + words + " 書き直し" + shown.substr(1 + words.size());
  EXPECT_EQ(run.Field("ShownText"), edited);
  for (const std::string& field : where) EXPECT_EQ(run.Field(field), before[field]) << field;
  EXPECT_EQ(run.Field("ContentProblem"), "null");

  // A broken entry: the old scenario keeps playing, the problem shows on
  // the strip with its file and line until it is mended.
  const testing::Pixels unbroken = run.Screen();
  const std::string twoOptions = "0 s69 > 選択0：場面1へ | 選択1：場面3へ";
  const int brokenLine = LineInFile(run.scenario(), twoOptions);
  Replace(run.scenario(), twoOptions, twoOptions + " | 三つ目");
  ASSERT_EQ(run.Play("reload"), kScriptOk);
  const std::string problem = run.Field("ContentProblem");
  EXPECT_EQ(problem, "\"scenario.txt:" + std::to_string(brokenLine) + ": scene 0 s69 needs 2 options, not 3\"");
  EXPECT_EQ(run.Field("ShownText"), edited);
  const testing::Difference strip = testing::Compare(unbroken, run.Screen());
  EXPECT_GT(strip.pixels, 0);
  EXPECT_EQ(strip.bounds.Bottom(), kScreenHeight);
  EXPECT_GT(strip.bounds.top, kScreenHeight - 40);
  ASSERT_EQ(run.Play("click 400 300"), kScriptOk);  // play goes on with the scenario it had
  EXPECT_EQ(run.Field("ContentProblem"), problem);
  std::map<std::string, std::string> after;
  for (const std::string& field : where) after[field] = run.Field(field);
  Replace(run.scenario(), " | 三つ目", "");
  ASSERT_EQ(run.Play("reload"), kScriptOk);
  EXPECT_EQ(run.Field("ContentProblem"), "null");
  EXPECT_EQ(testing::CountColour(run.Screen(), Rgb(96, 0, 0), {0, kScreenHeight - 40, kScreenWidth, 40}), 0);

  // The picture on screen replaced by one of the same size and
  // modification time (its packed copy and the one in memory are now
  // stale): drawn again from the new file.
  const std::string path = PicturePath(run.content() + "/PELMOTPIC", run.game().mainWorkPicture);
  const Colour red = Rgb(250, 10, 10);
  const std::string red_png = run.content() + "/red.png";
  ASSERT_TRUE(SavePng(std::vector<Colour>(static_cast<std::size_t>(kScreenWidth) * kScreenHeight, red), kScreenWidth,
                      kScreenHeight, red_png));
  std::string bytes = testing::FileBytes(red_png);
  const auto size = fs::file_size(path);
  const auto modified = fs::last_write_time(path);
  ASSERT_LT(bytes.size(), size);
  bytes.resize(size, '\0');  // after the end of the PNG, which decoders ignore
  testing::WriteBytes(path, bytes);
  fs::last_write_time(path, modified);
  // Below the text's rows (the page's dimming mask lets half through).
  const ScreenRect open{0, 200, kScreenWidth, 300};
  EXPECT_EQ(testing::CountColour(run.Screen(), red, open), 0);
  ASSERT_EQ(run.Play("reload"), kScriptOk);
  EXPECT_GT(testing::CountColour(run.Screen(), red, open), kScreenWidth * 300 / 3);
  for (const std::string& field : where) EXPECT_EQ(run.Field(field), after[field]) << field;
}

// On the second page of scene 0's two-page line, a word of that page
// changed: the second page shows again with it, the first is not shown.
TEST(LiveReload, ALinesLaterPageShowsAgainWithItsNewWords) {
  AuthorRun run;
  ASSERT_EQ(run.Play("click 5 5\nclick 5 5\npick 0\nclick 5 5\nclick 5 5\nclick 5 5\nclick 5 5\nclick 5 5"), kScriptOk);
  const std::string shown = run.Field("ShownText");
  ASSERT_TRUE(shown.ends_with("\\n20行目\"")) << shown;
  ASSERT_EQ(shown.find("1行目"), std::string::npos) << shown;
  const std::string step = run.Field("StepNo"), lineNo = run.Field("LineNo");
  Replace(run.scenario(), "@r20行目", "@r20行目を書き直した");
  ASSERT_EQ(run.Play("reload"), kScriptOk);
  EXPECT_EQ(run.Field("ShownText"), shown.substr(0, shown.size() - 1) + "を書き直した\"");
  EXPECT_EQ(run.Field("StepNo"), step);
  EXPECT_EQ(run.Field("LineNo"), lineNo);
  // The next click goes on from the line's end, as before the edit.
  ASSERT_EQ(run.Play("click 5 5\nexpect ShownText \"場面0 s5\""), kScriptOk);
}

}  // namespace
}  // namespace pelmot
