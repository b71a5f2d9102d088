#include "plugin/run_flow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host_function_table.h"

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

namespace {

std::vector<std::string> logged;

bool recordLog(const char* text) {
  logged.emplace_back(text);
  return true;
}

}  // namespace

TEST(CheckHost, ReportsAFailedResolutionOnlyThroughALogItHas) {
  // This process has no module named Zandrovix.exe, so resolution fails and
  // leaves the table as it is: the log entry is there only when set before.
  HostFunctionTable saved = hostFunctions;
  logged.clear();
  hostFunctions.zvLogText = nullptr;
  EXPECT_FALSE(checkHost());
  EXPECT_TRUE(logged.empty());

  hostFunctions.zvLogText = recordLog;
  EXPECT_FALSE(checkHost());
  EXPECT_FALSE(runPlugin());
  EXPECT_EQ(logged, std::vector<std::string>{"init failed."}) << "execute reports nothing";
  hostFunctions = saved;
}
