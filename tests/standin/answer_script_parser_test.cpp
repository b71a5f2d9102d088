#include <gtest/gtest.h>

#include <string>

#include "standin/calls/answer_script_parser.h"

namespace standin {
namespace {

struct ParseCase {
  const char* script;
  AnswerKind kind;
  int number;
  const char* text;
  int line;
};

TEST(AnswerScript, ReadsEachKindOfAnswer) {
  const ParseCase cases[] = {
      {"number 3", AnswerKind::kNumber, 3, "", 1},
      {"number -1", AnswerKind::kNumber, -1, "", 1},
      {"number 2147483647", AnswerKind::kNumber, 2147483647, "", 1},
      {"number -2147483648", AnswerKind::kNumber, -2147483647 - 1, "", 1},
      {"number  +7  ", AnswerKind::kNumber, 7, "", 1},
      {"text 00FF00", AnswerKind::kText, 0, "00FF00", 1},
      {"text", AnswerKind::kText, 0, "", 1},
      {"text ", AnswerKind::kText, 0, "", 1},
      {"text  two blanks # kept ", AnswerKind::kText, 0, " two blanks # kept ", 1},
      {"text x\r\n", AnswerKind::kText, 0, "x", 1},
      {"yes", AnswerKind::kYes, 0, "", 1},
      {"no", AnswerKind::kNo, 0, "", 1},
      {"cancel", AnswerKind::kCancel, 0, "", 1},
      {"file out.srf", AnswerKind::kFile, 0, "out.srf", 1},
      {"file C:\\a b\\c.srf", AnswerKind::kFile, 0, "C:\\a b\\c.srf", 1},
      {"# comment\n\n   \n  yes", AnswerKind::kYes, 0, "", 4},
      {"\tnumber 5", AnswerKind::kNumber, 5, "", 1},
  };
  for (const ParseCase& row : cases) {
    SCOPED_TRACE(row.script);
    AnswerScript script;
    GrowingText error;
    ASSERT_TRUE(script.parse(row.script, std::string(row.script).size(), &error)) << error.text();
    ASSERT_EQ(script.size(), 1);
    const Answer* answer = script.next();
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer->kind, row.kind);
    EXPECT_EQ(answer->number, row.number);
    EXPECT_STREQ(answer->text, row.text);
    EXPECT_EQ(answer->line, row.line);
    EXPECT_EQ(script.next(), nullptr);
  }
}

TEST(AnswerScript, KeepsOrderAndCountsUnused) {
  const std::string text = "number 1\n# skip\nno\n\ntext abc\ncancel\n";
  AnswerScript script;
  GrowingText error;
  ASSERT_TRUE(script.parse(text.data(), text.size(), &error));
  EXPECT_EQ(script.size(), 4);
  EXPECT_EQ(script.next()->kind, AnswerKind::kNumber);
  EXPECT_EQ(script.unused(), 3);
  EXPECT_EQ(script.peek()->line, 3);
  EXPECT_EQ(script.next()->kind, AnswerKind::kNo);
  EXPECT_STREQ(script.next()->text, "abc");
  EXPECT_EQ(script.next()->kind, AnswerKind::kCancel);
  EXPECT_EQ(script.unused(), 0);
  EXPECT_EQ(script.peek(), nullptr);
}

TEST(AnswerScript, RejectsLinesThatAreNoAnswer) {
  struct ErrorCase {
    const char* script;
    const char* message;
  };
  const ErrorCase cases[] = {
      {"maybe", "line 1: unknown answer \"maybe\""},
      {"yes\nNumber 3", "line 2: unknown answer \"Number\""},
      {"number", "line 1: \"number\" needs one whole number"},
      {"number 3x", "line 1: \"number\" needs one whole number"},
      {"number 2147483648", "line 1: \"number\" needs one whole number"},
      {"number -2147483649", "line 1: \"number\" needs one whole number"},
      {"number 1 2", "line 1: \"number\" needs one whole number"},
      {"yes please", "line 1: \"yes\" takes nothing after it"},
      {"\n\ncancel now", "line 3: \"cancel\" takes nothing after it"},
      {"ok", "line 1: unknown answer \"ok\""},
  };
  for (const ErrorCase& row : cases) {
    SCOPED_TRACE(row.script);
    AnswerScript script;
    GrowingText error;
    EXPECT_FALSE(script.parse(row.script, std::string(row.script).size(), &error));
    EXPECT_EQ(std::string(error.text()).rfind(row.message, 0), 0u) << error.text();
    EXPECT_EQ(script.size(), 0);
  }
}

TEST(AnswerScript, ParsingAgainReplacesTheAnswers) {
  AnswerScript script;
  GrowingText error;
  ASSERT_TRUE(script.parse("yes\nno", 6, &error));
  script.next();
  ASSERT_TRUE(script.parse("number 9", 8, &error));
  EXPECT_EQ(script.size(), 1);
  EXPECT_EQ(script.next()->number, 9);
}

}  // namespace
}  // namespace standin
