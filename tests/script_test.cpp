// The headless script runner: parsing, errors, and what its commands do.
#include <gtest/gtest.h>

#include <sstream>

#include "app/script_runner.h"
#include "app/state_json.h"
#include "game_fixture.h"
#include "present/choices.h"

namespace pelmot {
namespace {

using testing::TestGame;

struct ScriptRun {
  int status;
  std::string out;
  std::string err;
};

class ScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Scene 40: plain steps, a page choice at step 2.
    t.scenes().procedures[40] = [](Game& g) {
      if (g.state.StepNo[1] == 2) {
        g.state.LineNo = 1;
        ShowChoice2(g, {"左", "右", "", "", ""});
      }
    };
    t.state().FlowMode = kModeScene;
    t.state().SceneNo = 40;
  }

  ScriptRun Run(const std::string& script) {
    std::istringstream in(script);
    std::vector<ScriptCommand> commands;
    ScriptError error;
    if (!ParseScript(in, "play.txt", commands, error)) return {kScriptBad, "", error.message};
    std::ostringstream out, err;
    HeadlessScriptHooks hooks(t.clock, t.dialogs);
    int status = RunScript(t.host(), hooks, commands, "play.txt", {out, err});
    return {status, out.str(), err.str()};
  }

  TestGame t;
};

TEST_F(ScriptTest, ParseErrorsNameTheFileLineAndWhatWasExpected) {
  struct Case {
    std::string script;
    std::string message;
  } cases[] = {
      {"click 1\n", "play.txt:1: expected click X Y, with whole numbers X and Y"},
      {"# c\n\nclick a b\n", "play.txt:3: expected click X Y"},
      {"jump 3\n", "play.txt:1: expected a command"},
      {"key insert\n", "play.txt:1: expected key NAME, with NAME one of a, c, down, end, enter, escape, f1, f12, f2"},
      {"wheel sideways\n", "play.txt:1: expected wheel up or wheel down"},
      {"ctrl\n", "play.txt:1: expected ctrl down or ctrl up"},
      {"tick 0\n", "play.txt:1: expected tick or tick N"},
      {"now 2026-13-01 10:00:00\n", "play.txt:1: expected now YYYY-MM-DD HH:MM:SS"},
      {"answer maybe\n", "play.txt:1: expected answer yes or answer no"},
      {"expect SceneNo\n", "play.txt:1: expected expect FIELD VALUE"},
      {"state now\n", "play.txt:1: expected state with nothing after it"},
  };
  for (const Case& c : cases) {
    ScriptRun o = Run(c.script);
    EXPECT_EQ(o.status, kScriptBad) << c.script;
    EXPECT_EQ(o.err.rfind(c.message, 0), 0u) << o.err;
  }
}

TEST_F(ScriptTest, ABadLineStopsTheScriptBeforeAnyInput) {
  ScriptRun o = Run("click 5 5\nclick 5\n");
  EXPECT_EQ(o.status, kScriptBad);
  EXPECT_EQ(t.state().StepNo[1], 0);
}

TEST_F(ScriptTest, ExpectPassesOrStopsWithStatusOneNamingTheLine) {
  EXPECT_EQ(Run("click 5 5\nexpect StepNo[1] 1\nexpect SceneNo 40\nexpect PendingText \"\"\n"
                "expect ClickAdvances true\n")
                .status,
            kScriptOk);
  ScriptRun o = Run("click 5 5\nexpect StepNo[1] 7\nclick 5 5\n");
  EXPECT_EQ(o.status, kScriptExpectFailed);
  EXPECT_EQ(o.err, "play.txt:2: expected StepNo[1] 7, but it is 2\n");
  EXPECT_EQ(t.state().StepNo[1], 2) << "the line after a failed expect does not run";
}

TEST_F(ScriptTest, ExpectOfAnUnknownFieldIsABadScript) {
  ScriptRun o = Run("expect Sceen 1\n");
  EXPECT_EQ(o.status, kScriptBad);
  EXPECT_NE(o.err.find("no field named Sceen"), std::string::npos);
}

TEST_F(ScriptTest, StatePrintsOneJsonObjectWithEveryField) {
  ScriptRun o = Run("state\n");
  ASSERT_EQ(o.status, kScriptOk);
  EXPECT_EQ(o.out.front(), '{');
  EXPECT_EQ(o.out.substr(o.out.size() - 2), "}\n");
  EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 1);
  for (const char* field : {"\"FlowMode\":1", "\"StepNo\":[0,0,0,0,0,0,0,0]", "\"SceneNo\":40",
                            "\"ClickAdvances\":true", "\"MenuItems\":[\"\"", "\"PendingText\":\"\"", "\"CgSeen\":[0,",
                            "\"EndingNo\":0", "\"Params\":[0,0,0,0]", "\"SkipTimer\":false", "\"MainPicEnabled\":false",
                            "\"SkipBVisible\":false", "\"ResumeMode\":0", "\"LastChoice\":0", "\"Condition\":0"})
    EXPECT_NE(o.out.find(field), std::string::npos) << field;
}

TEST_F(ScriptTest, ShiftAndTickSkipToTheChoiceAndStopEarly) {
  ScriptRun o =
      Run("shift down\ntick 100000\nexpect StepNo[1] 2\nexpect SkipTimer false\n"
          "pick 1\nexpect ChoiceNo 1\nexpect StepNo[1] 3\n");
  EXPECT_EQ(o.status, kScriptOk) << o.err;
}

TEST_F(ScriptTest, WaitFiresTheSkipTimerAtEachDueTimeOnTheWay) {
  ScriptRun o =
      Run("shift down\nexpect StepNo[1] 0\nwait 9\nexpect StepNo[1] 0\nwait 1\nexpect StepNo[1] 1\n"
          "wait 25\nexpect StepNo[1] 2\nexpect SkipTimer false\nwait 1000\nexpect StepNo[1] 2\n");
  EXPECT_EQ(o.status, kScriptOk) << o.err;
}

TEST_F(ScriptTest, WaitWithoutATimerOnlyMovesTheClockOn) {
  EXPECT_EQ(Run("wait 0\nwait 100000\nexpect StepNo[1] 0\n").status, kScriptOk);
  EXPECT_EQ(Run("wait -1\n").err, "play.txt:1: expected wait MS, with a count MS of 0 or more milliseconds");
  EXPECT_EQ(Run("answer yes\nclose\nwait 5\n").status, kScriptBad) << "no time passes after the end";
}

TEST_F(ScriptTest, TickWithoutShiftOrTimerDoesNothing) {
  EXPECT_EQ(Run("tick 5\nexpect StepNo[1] 0\n").status, kScriptOk);
}

TEST_F(ScriptTest, PickWithoutAListOnScreenIsABadScript) {
  ScriptRun o = Run("pick 0\n");
  EXPECT_EQ(o.status, kScriptBad);
  EXPECT_NE(o.err.find("play.txt:1: pick needs a choice or menu"), std::string::npos);
}

TEST_F(ScriptTest, CloseAsksAndAnUnansweredBoxStopsTheScript) {
  ScriptRun o = Run("close\n");
  EXPECT_EQ(o.status, kScriptBad);
  EXPECT_NE(o.err.find("play.txt:1: a message box asked"), std::string::npos);
  EXPECT_EQ(Run("answer no\nclose\nexpect FlowMode 1\n").status, kScriptOk);
  EXPECT_FALSE(t.game().quitRequested);
}

TEST_F(ScriptTest, InputAfterTheGameEndedIsABadScript) {
  ScriptRun o = Run("answer yes\nclose\nstate\nclick 5 5\n");
  EXPECT_EQ(o.status, kScriptBad);
  EXPECT_NE(o.err.find("play.txt:4: the game has ended"), std::string::npos);
}

TEST_F(ScriptTest, NowSetsTheClock) {
  Run("now 2026-12-06 09:21:05\n");
  EXPECT_EQ(t.clock.Now(), (LocalDateTime{2026, 12, 6, 9, 21, 5}));
}

}  // namespace
}  // namespace pelmot

namespace pelmot {
namespace {

TEST_F(ScriptTest, ACommentAfterACommandIsIgnored) {
  ScriptRun o =
      Run("click 5 5   # the first step\nclick 5 5\t# tab before it\n"
          "expect StepNo[1] 2 # a comment after a value\n"
          "expect PendingText \"\"   # quotes closed before it\n");
  EXPECT_EQ(o.status, kScriptOk) << o.err;
  EXPECT_EQ(Run("click 5 5 # 7\nclick 5# 5\n").err, "play.txt:2: expected click X Y, with whole numbers X and Y")
      << "a # inside a word is part of it";
}

TEST_F(ScriptTest, AHashInsideAQuotedValueIsNoComment) {
  t.state().PendingText = "# not a comment";
  EXPECT_EQ(Run("expect PendingText \"# not a comment\"  # but this is\n").status, kScriptOk);
  t.state().PendingText = "say \"#\" here";
  EXPECT_EQ(Run("expect PendingText \"say \\\"#\\\" here\"\n").status, kScriptOk);
}

TEST_F(ScriptTest, LastMessageIsNullUntilABoxShowsThenItsText) {
  ScriptRun before = Run("state\nexpect LastMessage null\n");
  EXPECT_EQ(before.status, kScriptOk) << before.err;
  EXPECT_NE(before.out.find("\"LastMessage\":null}"), std::string::npos) << before.out;
  ScriptRun after = Run("answer no\nclose\nstate\n");
  ASSERT_FALSE(t.dialogs.asked.empty());
  EXPECT_NE(after.out.find("\"LastMessage\":" + JsonString(t.dialogs.asked.back())), std::string::npos) << after.out;
}

TEST(HeadlessDialogs, EchoesEveryBoxToItsStreamAsItComesUp) {
  std::ostringstream err;
  HeadlessDialogs dialogs(err);
  dialogs.ShowMessage("保存できません。\n理由");
  dialogs.QueueAnswer(true);
  bool answeredYes = false;
  dialogs.AskYesNo("終了しますか？", [&](bool yes) { answeredYes = yes; });
  EXPECT_TRUE(answeredYes) << "a queued answer answers at once";
  EXPECT_EQ(err.str(), "pelmot: message: 保存できません。\n  理由\npelmot: question: 終了しますか？\n");
  EXPECT_EQ(dialogs.LastMessage(), "終了しますか？");
}

}  // namespace
}  // namespace pelmot
