#include "platform/bounded_text.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(BoundedText, AppendsPiecesInOrder) {
  char buffer[32];
  BoundedText text(buffer, sizeof(buffer));
  EXPECT_TRUE(text.appendText("a"));
  EXPECT_TRUE(text.append("%d-%s", 42, "b"));
  EXPECT_STREQ(buffer, "a42-b");
  EXPECT_EQ(text.length(), 5u);
  EXPECT_TRUE(text.complete());
}

TEST(BoundedText, DropsAPieceThatDoesNotFitAndStops) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof(buffer));
  BoundedText text(buffer, sizeof(buffer));
  EXPECT_TRUE(text.appendText("1234"));
  EXPECT_FALSE(text.append("%s", "5678"));  // needs 9 bytes with the terminator
  EXPECT_STREQ(buffer, "1234");
  // Either kind of piece would fit, but the text is cut already.
  EXPECT_FALSE(text.append("%d", 5));
  EXPECT_FALSE(text.appendText("5"));
  EXPECT_STREQ(buffer, "1234");
  EXPECT_FALSE(text.complete());
}

TEST(BoundedText, FillsTheBufferExactlyToTheTerminator) {
  char buffer[5];
  BoundedText text(buffer, sizeof(buffer));
  EXPECT_TRUE(text.appendText("12"));
  EXPECT_TRUE(text.append("%s", "34"));
  EXPECT_STREQ(buffer, "1234");
  EXPECT_FALSE(text.appendText("5"));
  EXPECT_STREQ(buffer, "1234");
  EXPECT_FALSE(text.complete());
}
