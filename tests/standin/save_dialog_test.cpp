#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "standin/calls/save_dialog.h"

namespace standin {
namespace {

TEST(SaveDialog, PlacesNamesInTheFolderItShows) {
  struct Case {
    const char* folder;
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      {"/tmp/host/", "a.srf", "/tmp/host/a.srf"},
      {"saved", "a.srf", "saved/a.srf"},
      {"C:\\Zandrovix\\", "a.srf", "C:\\Zandrovix\\a.srf"},
      {"saved/", "sub/a.srf", "saved/sub/a.srf"},
      {"saved/", "/data/a.srf", "/data/a.srf"},
      {"saved/", "\\data\\a.srf", "\\data\\a.srf"},
      {"saved/", "D:\\a.srf", "D:\\a.srf"},
      {"saved/", "d:a.srf", "d:a.srf"},
      {"", "a.srf", "a.srf"},
      {nullptr, "a.srf", "a.srf"},
      {"saved/", nullptr, "saved/"},
  };
  for (const Case& row : cases) {
    GrowingText path;
    path.append("left over");
    placeInFolder(row.folder, row.name, &path);
    EXPECT_STREQ(path.text(), row.expected) << (row.folder != nullptr ? row.folder : "null")
                                            << " + " << (row.name != nullptr ? row.name : "null");
  }
}

TEST(SaveDialog, OpensInTheStartFolderOnlyWhenItExists) {
  char made[] = "/tmp/save_dialog_XXXXXX";
  ASSERT_NE(mkdtemp(made), nullptr);
  std::string start = std::string(made) + "/";
  GrowingText folder;
  EXPECT_TRUE(saveDialogFolder(start.c_str(), &folder));
  EXPECT_EQ(std::string(folder.text()), start);

  char current[4096];
  ASSERT_NE(getcwd(current, sizeof(current)), nullptr);
  const std::string currentFolder = std::string(current) + "/";
  const char* const absent[] = {"C:\\Program Files\\Zandrovix\\", "", nullptr, "/proc/self/exe"};
  for (const char* startPath : absent) {
    EXPECT_FALSE(saveDialogFolder(startPath, &folder)) << (startPath ? startPath : "null");
    EXPECT_EQ(std::string(folder.text()), currentFolder) << (startPath ? startPath : "null");
  }
  rmdir(made);
}

}  // namespace
}  // namespace standin
