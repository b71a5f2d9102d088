#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "standin/session/options.h"

namespace standin {
namespace {

bool parse(std::vector<const char*> arguments, Options* options, std::string* message = nullptr) {
  GrowingText error;
  bool parsed = parseOptions(static_cast<int>(arguments.size()), arguments.data(), options, &error);
  if (message != nullptr) *message = error.text();
  return parsed;
}

TEST(Options, ReadsEveryOption) {
  Options options;
  ASSERT_TRUE(parse({"--plugin",
                     "p.so",
                     "--answers=a.txt",
                     "--trace",
                     "-",
                     "--log",
                     "l.txt",
                     "--host-version",
                     "2.6.-1",
                     "--no-vmr",
                     "--surfaces",
                     "-2",
                     "--surface",
                     "s.ply",
                     "--host-path",
                     "D:\\Z\\",
                     "--runs",
                     "0",
                     "--skip-init",
                     "--show-vertices",
                     "3-7",
                     "--view",
                     "medial,record,lateral",
                     "--help",
                     "--version"},
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
  EXPECT_EQ(options.pictures.views.count, 3);
  EXPECT_TRUE(options.help);
  EXPECT_TRUE(options.version);
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
      {"--host-version", "2.6.0", true, 2, 6, 0},
      {"--host-version", "-1.-2.-3", true, -1, -2, -3},
      {"--host-version", "10.0.12", true, 10, 0, 12},
      {"--host-version", "2.6", false, 0, 0, 0},
      {"--host-version", "2.6.0.1", false, 0, 0, 0},
      {"--host-version", "2..6", false, 0, 0, 0},
      {"--host-version", "a.b.c", false, 0, 0, 0},
      {"--host-version", "2.6.99999999999", false, 0, 0, 0},
      {"--show-vertices", "0-3", true, 0, 3, 0},
      {"--show-vertices", "12", true, 12, 12, 0},
      {"--show-vertices", "5-2", true, 5, 2, 0},
      {"--show-vertices", "-1-3", false, 0, 0, 0},
      {"--show-vertices", "1--3", false, 0, 0, 0},
      {"--show-vertices", "1-", false, 0, 0, 0},
      {"--show-vertices", "1-2x", false, 0, 0, 0},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(std::string(row.option) + " " + row.value);
    Options options;
    ASSERT_EQ(parse({row.option, row.value}, &options), row.valid);
    if (!row.valid) continue;
    if (std::string(row.option) == "--host-version") {
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
      {{"--runs", "-1"}, "--runs: \"-1\" is not a valid value"},
      {{"--surfaces", "one"}, "--surfaces: \"one\" is not a valid value"},
      {{"--view", "lateral,"}, "--view: \"lateral,\" is not a valid value"},
      {{"--view", "Lateral"}, "--view: \"Lateral\" is not a valid value"},
      {{"--view", "lateral,lateral,lateral,lateral,lateral,lateral,lateral,lateral,lateral"},
       "--view: \"lateral,lateral,lateral,lateral,lateral,lateral,lateral,lateral,lateral\" is "
       "not a valid value"},
      // Views side by side: their widths add up.
      {{"--picture-size", "2731x10", "--view", "lateral,medial,dorsal"},
       "3 views of 2731 pixels are wider than 8192 pixels"},
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

// Each option in both forms: an option with a value needs one, given after
// "=" or as the next argument but not taken from a following option; an
// option without a value refuses one.
TEST(Options, EveryOptionTakesItsValueAsItsRowSays) {
  for (int index = 0; index < kOptionRowCount; ++index) {
    const OptionRow& row = kOptionRows[index];
    SCOPED_TRACE(row.name);
    Options options;
    std::string message;
    if (row.value != nullptr) {
      EXPECT_FALSE(parse({row.name}, &options, &message));
      EXPECT_EQ(message, std::string(row.name) + " needs a value");
      EXPECT_FALSE(parse({row.name, "--help"}, &options, &message));
      EXPECT_EQ(message, std::string(row.name) + " needs a value");
    } else {
      EXPECT_TRUE(parse({row.name}, &options));
      const std::string withValue = std::string(row.name) + "=1";
      EXPECT_FALSE(parse({withValue.c_str()}, &options, &message));
      EXPECT_EQ(message, std::string(row.name) + " takes no value");
    }
  }
}

TEST(Options, RowsHaveDistinctNamesAndSayWhatTheyTake) {
  std::set<std::string> names;
  for (int index = 0; index < kOptionRowCount; ++index) {
    const OptionRow& row = kOptionRows[index];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(std::string(row.name).rfind("--", 0), 0u);
    EXPECT_EQ(std::string(row.name).find('='), std::string::npos);
    EXPECT_TRUE(names.insert(row.name).second) << "a second row of the same name is never read";
    if (row.value != nullptr) {
      EXPECT_STRNE(row.value, "");
    }
    EXPECT_STRNE(row.help, "");
    EXPECT_NE(row.apply, nullptr);
  }
}

// The help lists every row in order: "  NAME VALUE", the help's first line
// from the help column on, each further line of the help indented to that
// column; the introduction before and the notes after are kept.
TEST(Options, UsageListsEveryRowWithItsValueAndHelpInOneColumn) {
  GrowingText usage;
  appendUsage(&usage);
  std::istringstream in(usage.text());
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_GT(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Usage: Zandrovix.exe [options]");
  EXPECT_EQ(std::string(usage.text()).back(), '\n');
  EXPECT_NE(std::string(usage.text()).find("\nExit code: 0 session ran"), std::string::npos);

  const size_t column = 24;
  const std::string indent(column, ' ');
  size_t at = 0;
  while (at < lines.size() && lines[at].rfind("  --", 0) != 0) ++at;
  for (int index = 0; index < kOptionRowCount; ++index) {
    const OptionRow& row = kOptionRows[index];
    SCOPED_TRACE(row.name);
    ASSERT_LT(at, lines.size());
    std::string head = std::string("  ") + row.name;
    if (row.value != nullptr) head += std::string(" ") + row.value;
    ASSERT_LT(head.size() + 1, column);
    const std::string& line = lines[at++];
    EXPECT_EQ(line.substr(0, head.size()), head);
    EXPECT_EQ(line.find_first_not_of(' ', head.size()), column) << line;
    std::string help = line.size() > column ? line.substr(column) : "";
    while (at < lines.size() && lines[at].rfind(indent, 0) == 0) {
      help += "\n" + lines[at++].substr(column);
    }
    EXPECT_EQ(help, row.help);
  }
  ASSERT_LT(at, lines.size());
  EXPECT_EQ(lines[at], "") << "the notes follow the last option after a blank line";
}

}  // namespace
}  // namespace standin
