#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standin/options.h"

namespace standin {
namespace {

bool parse(std::vector<const char*> arguments, Options* options, std::string* message = nullptr) {
  TextBuffer error;
  bool parsed = parseOptions(static_cast<int>(arguments.size()), arguments.data(), options, &error);
  if (message != nullptr) *message = error.text();
  return parsed;
}

TEST(Options, ReadsEveryOption) {
  Options options;
  ASSERT_TRUE(parse({"--plugin",  "p.so",     "--answers=a.txt", "--trace",
                     "-",         "--log",    "l.txt",           "--version",
                     "2.6.-1",    "--no-vmr", "--surfaces",      "-2",
                     "--surface", "s.ply",    "--host-path",     "D:\\Z\\",
                     "--runs",    "0",        "--skip-init",     "--show-vertices",
                     "3-7",       "--help"},
                    &options));
  EXPECT_STREQ(options.pluginPath, "p.so");
  EXPECT_STREQ(options.answersPath, "a.txt");
  EXPECT_STREQ(options.tracePath, "-");
  EXPECT_STREQ(options.logPath, "l.txt");
  EXPECT_EQ(options.settings.versionMajor, 2);
  EXPECT_EQ(options.settings.versionMinor, 6);
  EXPECT_EQ(options.settings.versionSub, -1);
  EXPECT_FALSE(options.settings.vmrPresent);
  EXPECT_EQ(options.settings.surfaceCount, -2);
  EXPECT_STREQ(options.surfacePath, "s.ply");
  EXPECT_STREQ(options.settings.hostPath, "D:\\Z\\");
  EXPECT_EQ(options.runs, 0);
  EXPECT_TRUE(options.skipInit);
  EXPECT_EQ(options.shownRanges, 1);
  EXPECT_EQ(options.firstVertex[0], 3);
  EXPECT_EQ(options.lastVertex[0], 7);
  EXPECT_TRUE(options.help);
}

TEST(Options, VersionsAndVertexRanges) {
  struct Case {
    const char* option;
    const char* value;
    bool valid;
    int first;
    int second;
    int third;
  };
  const Case cases[] = {
      {"--version", "2.6.0", true, 2, 6, 0},       {"--version", "-1.-2.-3", true, -1, -2, -3},
      {"--version", "10.0.12", true, 10, 0, 12},   {"--version", "2.6", false, 0, 0, 0},
      {"--version", "2.6.0.1", false, 0, 0, 0},    {"--version", "2..6", false, 0, 0, 0},
      {"--version", "a.b.c", false, 0, 0, 0},      {"--version", "2.6.99999999999", false, 0, 0, 0},
      {"--show-vertices", "0-3", true, 0, 3, 0},   {"--show-vertices", "12", true, 12, 12, 0},
      {"--show-vertices", "5-2", true, 5, 2, 0},   {"--show-vertices", "-1-3", false, 0, 0, 0},
      {"--show-vertices", "1--3", false, 0, 0, 0}, {"--show-vertices", "1-", false, 0, 0, 0},
      {"--show-vertices", "1-2x", false, 0, 0, 0},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(std::string(row.option) + " " + row.value);
    Options options;
    ASSERT_EQ(parse({row.option, row.value}, &options), row.valid);
    if (!row.valid) continue;
    if (std::string(row.option) == "--version") {
      EXPECT_EQ(options.settings.versionMajor, row.first);
      EXPECT_EQ(options.settings.versionMinor, row.second);
      EXPECT_EQ(options.settings.versionSub, row.third);
    } else {
      EXPECT_EQ(options.firstVertex[0], row.first);
      EXPECT_EQ(options.lastVertex[0], row.second);
    }
  }
}

TEST(Options, RejectsWhatItCannotRead) {
  struct Case {
    std::vector<const char*> arguments;
    const char* message;
  };
  const Case cases[] = {
      {{"--bogus"}, "unknown option \"--bogus\""},
      {{"plugin.so"}, "unknown option \"plugin.so\""},
      {{"--runs"}, "--runs needs a value"},
      {{"--runs", "--skip-init"}, "--runs needs a value"},
      {{"--runs", "-1"}, "--runs: \"-1\" is not a valid value"},
      {{"--surfaces", "one"}, "--surfaces: \"one\" is not a valid value"},
      {{"--no-vmr=1"}, "--no-vmr takes no value"},
  };
  for (const Case& row : cases) {
    Options options;
    std::string message;
    EXPECT_FALSE(parse(row.arguments, &options, &message));
    EXPECT_EQ(message, row.message);
  }
}

TEST(Options, LocaleNamesAreKeptAsGiven) {
  Options options;
  EXPECT_EQ(options.locale, nullptr);
  ASSERT_TRUE(parse({"--locale", "de_DE.UTF-8,German"}, &options));
  EXPECT_STREQ(options.locale, "de_DE.UTF-8,German");
  std::string message;
  EXPECT_FALSE(parse({"--locale="}, &options, &message));
  EXPECT_EQ(message, "--locale: \"\" is not a valid value");
}

TEST(Options, ShowVerticesRepeatsUpToItsLimit) {
  Options options;
  ASSERT_TRUE(parse({"--show-vertices", "0-1", "--show-vertices=40960-40961"}, &options));
  ASSERT_EQ(options.shownRanges, 2);
  EXPECT_EQ(options.firstVertex[1], 40960);
  EXPECT_EQ(options.lastVertex[1], 40961);
  std::vector<const char*> tooMany;
  for (int index = 0; index <= Options::kMaxShownRanges; ++index) {
    tooMany.push_back("--show-vertices");
    tooMany.push_back("1");
  }
  Options full;
  EXPECT_FALSE(parse(tooMany, &full));
}

}  // namespace
}  // namespace standin
