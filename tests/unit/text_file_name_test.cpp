#include "surface/text_file_name.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string textFileName(const char* fileName) {
  char* name = replaceExtension(fileName, ".txt");
  EXPECT_NE(name, nullptr);
  std::string copy(name != nullptr ? name : "");
  std::free(name);
  return copy;
}

}  // namespace

TEST(TextFileName, OnlyTheFilesOwnExtensionIsReplaced) {
  struct Case {
    const char* surfaceFile;
    const char* textFile;
  };
  const Case cases[] = {
      {"C:\\data\\brain_LH.srf", "C:\\data\\brain_LH.txt"},
      {"C:\\data\\brain", "C:\\data\\brain.txt"},
      {"C:\\data\\brain.left.srf", "C:\\data\\brain.left.txt"},
      {".srf", ".txt"},
      {"", "''.txt"},
      {nullptr, "''.txt"},
      {"C:\\data.v2\\brain", "C:\\data.v2\\brain.txt"},
      {"/home/u/scans.old/brain", "/home/u/scans.old/brain.txt"},
      {"/home/u/scans.old/brain.srf", "/home/u/scans.old/brain.txt"},
      {"C:\\data\\.srf", "C:\\data\\.txt"},
      {"brain.", "brain.txt"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(textFileName(c.surfaceFile), c.textFile)
        << (c.surfaceFile != nullptr ? c.surfaceFile : "(null)");
  }
}

TEST(TextFileName, StripExtensionGivesQuotesForNoName) {
  for (const char* name : {static_cast<const char*>(nullptr), ""}) {
    char* base = stripExtension(name);
    ASSERT_NE(base, nullptr);
    EXPECT_STREQ(base, "''");
    std::free(base);
  }
}
