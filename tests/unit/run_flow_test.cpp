#include "plugin/run_flow.h"

#include <gtest/gtest.h>

TEST(VersionAtLeast, ComparesLexicographicallyAgainst260) {
  struct Case {
    int32_t major, minor, sub;
    bool accepted;
  };
  const Case cases[] = {
      {2, 6, 0, true},   {2, 5, 9, false},           {2, 7, 0, true},          {3, 0, 0, true},
      {1, 9, 9, false},  {2, 6, -1, false},          {2, 6, 2147483647, true}, {-1, 99, 99, false},
      {2, -6, 0, false}, {2147483647, -1, -1, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(versionAtLeast(c.major, c.minor, c.sub, 2, 6, 0), c.accepted)
        << c.major << "." << c.minor << "." << c.sub;
  }
}
