#include "platform/text_file.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "host/host_function_table.h"
#include "surface/surface_header_file.h"
#include "surface/surface_header_report.h"
#include "tests/unit/scratch_files.h"

// The C library's fclose and rename, made to fail on request after doing
// their work (the file is closed) or none (nothing moves).
namespace {
bool failClose = false;
bool failRename = false;
}  // namespace

extern "C" int fclose(FILE* file) {
  static const auto real = reinterpret_cast<int (*)(FILE*)>(dlsym(RTLD_NEXT, "fclose"));
  const int result = real(file);
  return failClose ? EOF : result;
}

extern "C" int rename(const char* from, const char* to) {
  static const auto real =
      reinterpret_cast<int (*)(const char*, const char*)>(dlsym(RTLD_NEXT, "rename"));
  return failRename ? -1 : real(from, to);
}

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
  void TearDown() override {
    hostFunctions = saved_;
    failClose = false;
    failRename = false;
  }
  std::string path(const std::string& name) const { return folder_ / name; }
  // The names of the files in the folder.
  std::set<std::string> names() const {
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(path(""))) {
      found.insert(entry.path().filename().string());
    }
    return found;
  }

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

// Files of any name a temporary file might have had stay as they are: a
// user's own, a write-protected one, an empty folder, a link to another file.
TEST_F(TextFileTest, ReplacesTheWholeContentAndTouchesNoOtherFile) {
  const std::string name = path("brain.txt");
  writeFile(name, std::string(5000, 'o'));
  writeFile(path("brain.txt.partial"), "mine\n");
  writeFile(path("other.dat"), "other\n");
  writeFile(path("locked.partial"), "locked\n");
  ASSERT_EQ(chmod(path("locked.partial").c_str(), 0444), 0);
  ASSERT_EQ(mkdir(path("brain.txt.tmp").c_str(), 0755), 0);
  ASSERT_EQ(symlink("other.dat", path("brain.partial").c_str()), 0);
  const std::set<std::string> before = names();
  ASSERT_TRUE(replaceTextFile(name.c_str(), "new\ntext\n", 9));
  EXPECT_EQ(readFile(name), "new\ntext\n");
  ASSERT_TRUE(replaceTextFile(name.c_str(), "", 0));
  EXPECT_EQ(readFile(name), "");
  EXPECT_EQ(names(), before);
  EXPECT_EQ(readFile(path("brain.txt.partial")), "mine\n");
  EXPECT_EQ(readFile(path("other.dat")), "other\n");
  EXPECT_EQ(readFile(path("locked.partial")), "locked\n");
  // A name whose last part is as long as the file system allows.
  const std::string longest = path(std::string(251, 'b') + ".txt");
  ASSERT_TRUE(replaceTextFile(longest.c_str(), "long\n", 5));
  EXPECT_EQ(readFile(longest), "long\n");
  ASSERT_TRUE(replaceTextFile(longest.c_str(), "longer\n", 7));
  EXPECT_EQ(readFile(longest), "longer\n");
  // A folder whose name leaves room for the text file's name but not for
  // a temporary one: the file is written in place.
  std::string deep = path("");
  while (deep.size() + 250 < PATH_MAX - 16) {
    deep += std::string(240, 'd') + "/";
    ASSERT_EQ(mkdir(deep.c_str(), 0755), 0) << deep.size();
  }
  deep += std::string(PATH_MAX - 16 - deep.size(), 'd');
  ASSERT_EQ(mkdir(deep.c_str(), 0755), 0) << deep.size();
  const std::string deepest = deep + "/a.txt";  // 10 bytes short of the limit
  writeFile(deepest, "old\n");
  ASSERT_TRUE(replaceTextFile(deepest.c_str(), "deep\n", 5));
  EXPECT_EQ(readFile(deepest), "deep\n");
}

// Permission bits, owner, links: the file is replaced as a user would edit
// it in place.
TEST_F(TextFileTest, KeepsWhatTheUserSetOnTheFile) {
  struct stat status;
  const std::string privateName = path("private.txt");
  writeFile(privateName, "old\n");
  ASSERT_EQ(chmod(privateName.c_str(), 0600), 0);
  ASSERT_TRUE(replaceTextFile(privateName.c_str(), kReport, sizeof(kReport) - 1));
  ASSERT_EQ(stat(privateName.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0600u);
  EXPECT_EQ(readFile(privateName), kReport);

  // A symbolic link stays one; the file it leads to gets the text.
  ASSERT_EQ(mkdir(path("elsewhere").c_str(), 0755), 0);
  writeFile(path("elsewhere/real.txt"), "old\n");
  ASSERT_EQ(symlink("elsewhere/real.txt", path("link.txt").c_str()), 0);
  ASSERT_TRUE(replaceTextFile(path("link.txt").c_str(), kReport, sizeof(kReport) - 1));
  ASSERT_EQ(lstat(path("link.txt").c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  EXPECT_EQ(readFile(path("elsewhere/real.txt")), kReport);
  EXPECT_EQ(std::filesystem::directory_iterator(path("elsewhere"))->path().filename(), "real.txt");
  // A link that leads nowhere yet makes the file it names.
  ASSERT_EQ(symlink("made.txt", path("dangling.txt").c_str()), 0);
  ASSERT_TRUE(replaceTextFile(path("dangling.txt").c_str(), "a\n", 2));
  EXPECT_EQ(readFile(path("made.txt")), "a\n");

  // A hard link is not split: both names show the whole new text.
  writeFile(path("first.txt"), std::string(100, 'o'));
  ASSERT_EQ(link(path("first.txt").c_str(), path("second.txt").c_str()), 0);
  ASSERT_TRUE(replaceTextFile(path("first.txt").c_str(), "b\n", 2));
  EXPECT_EQ(readFile(path("second.txt")), "b\n");
  ASSERT_EQ(stat(path("first.txt").c_str(), &status), 0);
  EXPECT_EQ(status.st_nlink, 2u);
}

// A text file that is a folder, or no folder to write in, fails and leaves
// everything as it was; so does a failed close or move of the temporary
// file.
TEST_F(TextFileTest, AFailedWriteLeavesEveryFileAsItWas) {
  const std::string name = path("brain.txt");
  ASSERT_EQ(mkdir(name.c_str(), 0755), 0);
  EXPECT_FALSE(replaceTextFile(name.c_str(), kReport, sizeof(kReport) - 1));
  writeFile(path("file"), "file\n");
  EXPECT_FALSE(moveFileOver(path("file").c_str(), name.c_str()));
  EXPECT_EQ(names(), (std::set<std::string>{"brain.txt", "file"}));
  EXPECT_EQ(readFile(path("file")), "file\n");
  ASSERT_EQ(rmdir(name.c_str()), 0);

  const std::string missing = path("no_such_folder/brain.txt");
  EXPECT_FALSE(replaceTextFile(missing.c_str(), kReport, sizeof(kReport) - 1));
  EXPECT_FALSE(exists(missing));
  EXPECT_FALSE(replaceTextFile(path("file/brain.txt").c_str(), kReport, sizeof(kReport) - 1));
  ASSERT_EQ(symlink("loop.txt", path("loop.txt").c_str()), 0);
  EXPECT_FALSE(replaceTextFile(path("loop.txt").c_str(), kReport, sizeof(kReport) - 1));
  ASSERT_EQ(unlink(path("loop.txt").c_str()), 0);
  ASSERT_EQ(symlink("no_such_folder/x.txt", path("nowhere.txt").c_str()), 0);
  EXPECT_FALSE(replaceTextFile(path("nowhere.txt").c_str(), kReport, sizeof(kReport) - 1));
  ASSERT_EQ(unlink(path("nowhere.txt").c_str()), 0);

  writeFile(name, "old\n");
  failClose = true;
  EXPECT_FALSE(replaceTextFile(name.c_str(), kReport, sizeof(kReport) - 1));
  EXPECT_FALSE(writeNewTextFile(path("new.txt").c_str(), kReport, sizeof(kReport) - 1));
  failClose = false;
  failRename = true;
  EXPECT_FALSE(replaceTextFile(name.c_str(), kReport, sizeof(kReport) - 1));
  failRename = false;
  EXPECT_EQ(readFile(name), "old\n");
  EXPECT_EQ(names(), (std::set<std::string>{"brain.txt", "file", "new.txt"}));
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
      {path("brain.txt"), "/dev/null", false},  // another file system
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

  // A text file on a full disk, as a device: written in place, and failing.
  if (makeFullDevice(textName)) {
    writeSurfaceHeaderFile(surface, kReport);
    EXPECT_EQ(logged, std::vector<std::string>{notWritten}) << "a full disk";
    logged.clear();
    ASSERT_EQ(unlink(textName.c_str()), 0);
  }
  writeFile(textName, "old\n");

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
