#pragma once

// Files for the unit tests: a fresh folder of a test's own, removed with
// everything in it at the end, and whole-file reads and writes.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

inline std::string readFile(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

inline void writeFile(const std::string& name, const std::string& content) {
  std::ofstream(name, std::ios::binary) << content;
}

// Whether `name` exists, a dangling link included.
inline bool exists(const std::string& name) {
  struct stat status;
  return lstat(name.c_str(), &status) == 0;
}

class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/facetkit_test_XXXXXX";
    if (mkdtemp(pattern) != nullptr) path_ = pattern;
    EXPECT_FALSE(path_.empty()) << "no scratch folder";
  }
  ~ScratchFolder() {
    if (path_.empty()) return;
    const std::string command = "rm -rf '" + path_ + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The full name of `name` in the folder.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};
