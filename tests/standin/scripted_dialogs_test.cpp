#include <gtest/gtest.h>

#include <string>

#include "standin/calls/scripted_dialogs.h"

namespace standin {
namespace {

class ScriptAnswers : public ::testing::Test {
 protected:
  void load(const std::string& text) {
    GrowingText error;
    ASSERT_TRUE(script_.parse(text.data(), text.size(), &error)) << error.text();
    state_.script = &script_;
  }

  AnswerScript script_;
  HostState state_;
};

TEST_F(ScriptAnswers, GivesAnswersOfTheRightKind) {
  load("number 42\nyes\nno\ntext abc\nfile x.srf\n");
  int value = 0;
  ASSERT_TRUE(scriptInteger(&state_, "zvGetIntegerInput", &value));
  EXPECT_EQ(value, 42);
  EXPECT_TRUE(scriptYesNo(&state_, "zvYesNoMessageBox"));
  EXPECT_FALSE(scriptYesNo(&state_, "zvYesNoMessageBox"));
  GrowingText answer;
  ASSERT_TRUE(scriptText(&state_, "zvGetTextInput", false, &answer));
  EXPECT_STREQ(answer.text(), "abc");
  ASSERT_TRUE(scriptText(&state_, "zvGetSaveFileName", true, &answer));
  EXPECT_STREQ(answer.text(), "x.srf");
  EXPECT_FALSE(state_.scriptFailed);
}

TEST_F(ScriptAnswers, CancelFitsEveryPrompt) {
  load("cancel\ncancel\ncancel\ncancel\n");
  int value = 7;
  GrowingText answer;
  EXPECT_FALSE(scriptInteger(&state_, "zvGetIntegerInput", &value));
  EXPECT_FALSE(scriptYesNo(&state_, "zvYesNoMessageBox"));
  EXPECT_FALSE(scriptText(&state_, "zvGetTextInput", false, &answer));
  EXPECT_FALSE(scriptText(&state_, "zvGetSaveFileName", true, &answer));
  EXPECT_FALSE(state_.scriptFailed);
  EXPECT_EQ(script_.unused(), 0);
}

TEST_F(ScriptAnswers, WrongKindFailsTheScriptAndCancelsFromThenOn) {
  load("text 5\nnumber 3\n");
  int value = 0;
  EXPECT_FALSE(scriptInteger(&state_, "zvGetIntegerInput", &value));
  EXPECT_TRUE(state_.scriptFailed);
  // The next prompt is cancelled without taking the answer that would fit.
  EXPECT_FALSE(scriptInteger(&state_, "zvGetIntegerInput", &value));
  EXPECT_EQ(script_.unused(), 1);
}

TEST_F(ScriptAnswers, TextAndFileAnswersDoNotMix) {
  load("file a.srf\n");
  GrowingText answer;
  EXPECT_FALSE(scriptText(&state_, "zvGetTextInput", false, &answer));
  EXPECT_TRUE(state_.scriptFailed);
}

TEST_F(ScriptAnswers, RunningOutFailsTheScript) {
  load("# nothing\n");
  EXPECT_FALSE(scriptYesNo(&state_, "zvYesNoMessageBox"));
  EXPECT_TRUE(state_.scriptFailed);
}

}  // namespace
}  // namespace standin
