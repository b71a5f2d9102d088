#include <gtest/gtest.h>

#include "standin/calls/rich_text.h"

namespace standin {
namespace {

TEST(RichText, RendersTagsForATerminal) {
  struct Case {
    const char* rich;
    const char* shown;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"Heading:<P>1: a <BR>2: b <BR>", "Heading:\n\n1: a \n2: b \n"},
      {"<i>by someone</i>", "by someone"},
      {"<br><p><I></I>", "\n\n\n"},
      {"<b>bold</b> <BRX> a < b", "<b>bold</b> <BRX> a < b"},
      {"ends with <", "ends with <"},
      {"<B", "<B"},
      {"", ""},
  };
  for (const Case& row : cases) {
    GrowingText out;
    renderRichText(&out, row.rich);
    EXPECT_STREQ(out.text(), row.shown) << row.rich;
  }
}

TEST(RichText, NullAppendsNothing) {
  GrowingText out;
  out.append("kept");
  renderRichText(&out, nullptr);
  EXPECT_STREQ(out.text(), "kept");
}

}  // namespace
}  // namespace standin
