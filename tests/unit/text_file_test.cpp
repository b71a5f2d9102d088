#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "host/host_function_table.h"
#include "surface/surface_header_file.h"
#include "surface/surface_header_report.h"
#include "tests/unit/scratch_files.h"

namespace {

std::vector<std::string> logged;

bool recordLog(const char* text) {
  logged.emplace_back(text);
  return true;
}

// The text file that logAndReadTextFile reads whenever a line is logged, and
// what it held at each line.
std::string watchedFile;
std::vector<std::string> heldAtLine;

bool logAndReadTextFile(const char* text) {
  logged.emplace_back(text);
  heldAtLine.push_back(readFile(watchedFile));
  return true;
}

// Makes `name` a device on which every write fails for want of space, as on
// a full disk: a device node of its own (root may make one), or a link to
// /dev/full. False when neither gives such a device.
bool makeFullDevice(const std::string& name) {
  if (mknod(name.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
    struct stat device;
    if (stat("/dev/full", &device) != 0 || !S_ISCHR(device.st_mode)) return false;
    if (symlink("/dev/full", name.c_str()) != 0) return false;
  }
  std::ofstream probe(name, std::ios::binary);
  probe << "x" << std::flush;
  return !probe.good();
}

// A fresh folder of the test's own, and a log that records what the
// plug-in writes to it.
class TextFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = hostFunctions;
    hostFunctions.zvLogText = recordLog;
    logged.clear();
  }
  void TearDown() override { hostFunctions = saved_; }
  std::string path(const std::string& name) const { return folder_ / name; }

  ScratchFolder folder_;
  HostFunctionTable saved_;
};

const char kReport[] = "\nSRF filename: \nbrain\nRender mode: 2\n";

SurfaceRecord surfaceNamed(const char* fileName) {
  SurfaceRecord surface;
  std::memset(&surface, 0, sizeof(surface));
  surface.fileName = fileName;
  return surface;
}

}  // namespace

TEST_F(TextFileTest, ReplacesTheWholeContentAndLeavesNoTemporaryFile) {
  const std::string name = path("brain.txt");
  writeFile(name, std::string(5000, 'o'));
  ASSERT_TRUE(replaceTextFile(name.c_str(), "new\ntext\n", 9));
  EXPECT_EQ(readFile(name), "new\ntext\n");
  EXPECT_FALSE(exists(name + kTemporaryFileSuffix));
  ASSERT_TRUE(replaceTextFile(name.c_str(), "", 0));
  EXPECT_EQ(readFile(name), "");
}

TEST_F(TextFileTest, AFullDiskLeavesTheOldContent) {
  // The temporary file is where the text goes first; as a full device every
  // write to it fails, once the runtime flushes.
  const std::string name = path("brain.txt");
  writeFile(name, "old content\n");
  if (!makeFullDevice(name + kTemporaryFileSuffix)) GTEST_SKIP() << "no full device here";
  EXPECT_FALSE(replaceTextFile(name.c_str(), kReport, sizeof(kReport) - 1));
  EXPECT_EQ(readFile(name), "old content\n");
  EXPECT_FALSE(exists(name + kTemporaryFileSuffix));
}

TEST_F(TextFileTest, AMissingFolderWritesNothing) {
  const std::string name = path("no_such_folder/brain.txt");
  EXPECT_FALSE(replaceTextFile(name.c_str(), kReport, sizeof(kReport) - 1));
  EXPECT_FALSE(exists(name));
}

TEST_F(TextFileTest, NamesOfOneFile) {
  writeFile(path("brain.txt"), "x");
  writeFile(path("other.txt"), "y");
  ASSERT_EQ(symlink("brain.txt", path("link.txt").c_str()), 0);
  struct Case {
    std::string first;
    std::string second;
    bool same;
  };
  const Case cases[] = {
      {path("brain.txt"), path("brain.txt"), true},
      {path("brain.txt"), path("./brain.txt"), true},
      {path("brain.txt"), path("link.txt"), true},
      {path("brain.txt"), path("other.txt"), false},
      {path("missing.txt"), path("missing.txt"), true},
      {path("missing.txt"), path("./missing.txt"), false},
      {path("brain.txt"), path("BRAIN.txt"), false},  // two names on a case-sensitive system
  };
  for (const Case& c : cases) {
    EXPECT_EQ(namesSameFile(c.first.c_str(), c.second.c_str()), c.same)
        << c.first << " / " << c.second;
  }
}

TEST_F(TextFileTest, TheHeaderNeverOverwritesTheSurfaceFile) {
  // A surface whose own file is the text file: by its very name, or by a
  // link that the text file's name reaches.
  const std::string surfaceText = "ply\nformat binary_little_endian 1.0\n";
  const std::string same = path("brain.txt");
  writeFile(same, surfaceText);
  writeFile(path("real.srf"), surfaceText);
  ASSERT_EQ(symlink("real.srf", path("linked.txt").c_str()), 0);
  for (const std::string& surfaceName : {same, path("linked.txt")}) {
    logged.clear();
    SurfaceRecord surface = surfaceNamed(surfaceName.c_str());
    writeSurfaceHeaderFile(surface, kReport);
    EXPECT_EQ(readFile(surfaceName), surfaceText);
    EXPECT_EQ(logged,
              std::vector<std::string>{"Header information could not be written to the text file " +
                                       surfaceName + "."});
  }
}

TEST_F(TextFileTest, TheHeaderFileIsConfirmedOnlyWhenWritten) {
  const std::string surfaceName = path("brain.srf");
  const std::string textName = path("brain.txt");
  SurfaceRecord surface = surfaceNamed(surfaceName.c_str());
  const std::string notWritten =
      "Header information could not be written to the text file " + textName + ".";

  writeFile(textName, "old\n");
  if (makeFullDevice(textName + kTemporaryFileSuffix)) {
    writeSurfaceHeaderFile(surface, kReport);
    EXPECT_EQ(logged, std::vector<std::string>{notWritten}) << "a full disk";
    EXPECT_EQ(readFile(textName), "old\n");
    logged.clear();
  }

  // A report that could not be built is no text to write.
  writeSurfaceHeaderFile(surface, nullptr);
  EXPECT_EQ(logged, std::vector<std::string>{notWritten});
  EXPECT_EQ(readFile(textName), "old\n");

  logged.clear();
  writeSurfaceHeaderFile(surface, kReport);
  EXPECT_EQ(logged.size(), 1u);
  EXPECT_EQ(logged[0].rfind("Header information of file saved to text.", 0), 0u);
  EXPECT_EQ(readFile(textName), kReport);
}

// The user may open the text file as soon as the log confirms it: by then
// it must hold the whole report, written, flushed and closed.
TEST_F(TextFileTest, TheConfirmationComesOnlyOnceTheFileHoldsTheWholeReport) {
  const std::string surfaceName = path("brain.srf");
  watchedFile = path("brain.txt");
  heldAtLine.clear();
  SurfaceRecord surface = surfaceNamed(surfaceName.c_str());
  surface.vertexCount = 40962;
  surface.stripElementCount = 4096;
  const char* report = formatSurfaceHeader(&surface);
  ASSERT_NE(report, nullptr);
  const std::string expected(report);
  releaseSurfaceHeader(report);

  hostFunctions.zvLogText = logAndReadTextFile;
  saveSurfaceHeader(surface);
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(logged[0].rfind("Header information of file saved to text.", 0), 0u);
  ASSERT_EQ(heldAtLine.size(), 1u);
  EXPECT_EQ(heldAtLine[0], expected);
}
