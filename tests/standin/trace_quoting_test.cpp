#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "standin/base/trace.h"

namespace standin {
namespace {

TEST(TraceQuoting, EscapesAsC) {
  struct Case {
    const char* text;
    const char* quoted;
  };
  const Case cases[] = {
      {"", "\"\""},
      {"plain text 123", "\"plain text 123\""},
      {"\nFacetkit> Started...", "\"\\nFacetkit> Started...\""},
      {"a\r\nb\tc", "\"a\\r\\nb\\tc\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"C:\\Program Files\\", "\"C:\\\\Program Files\\\\\""},
      {"\x01\x1f\x7f", "\"\\001\\037\\177\""},
      {"caf\xc3\xa9", "\"caf\\303\\251\""},
      {"<P>1: x <BR>", "\"<P>1: x <BR>\""},
      // An octal escape has three digits, so a digit after it stays a digit.
      {"\x01"
       "7",
       "\"\\0017\""},
  };
  for (const Case& row : cases) {
    GrowingText line;
    appendQuoted(&line, row.text);
    EXPECT_STREQ(line.text(), row.quoted);
  }
}

TEST(TraceQuoting, NullIsUnquoted) {
  GrowingText line;
  line.append("x(");
  appendQuoted(&line, nullptr);
  EXPECT_STREQ(line.text(), "x(null");
}

TEST(TraceQuoting, FloatsAreShortAndExact) {
  struct Case {
    float value;
    const char* text;
  };
  const Case cases[] = {
      {0.25f, "0.25"},
      {-45.5f, "-45.5"},
      {128.0f, "128"},
      {0.0f, "0"},
      {-0.0f, "-0"},
      {0.1f, "0.100000001"},
      {3.4028235e38f, "3.40282347e+38"},
      {16777217.0f, "16777216"},
  };
  for (const Case& row : cases) {
    GrowingText line;
    appendFloat(&line, row.value);
    EXPECT_STREQ(line.text(), row.text);
  }
}

}  // namespace
}  // namespace standin
