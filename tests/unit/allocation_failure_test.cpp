// The header functions when memory runs out: this program replaces the C
// library's allocator with one that fails on request (the Nth allocation, or
// every one from the Nth on), the C library's own allocations for fopen
// included, and checks that each function completes whole or changes nothing
// and says so.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/host_function_table.h"
#include "surface/surface_header_file.h"
#include "surface/surface_header_report.h"
#include "tests/unit/scratch_files.h"

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* memory, size_t size);
void __libc_free(void* memory);
}

namespace {

// Allocations counted since arming; the one numbered failAt fails, and with
// failLater every one after it too. Not armed, nothing fails.
bool armed = false;
bool failLater = false;
long failAt = 0;
long counted = 0;

bool failThisOne() {
  if (!armed) return false;
  const long number = counted++;
  return number == failAt || (failLater && number > failAt);
}

void arm(long at, bool later) {
  counted = 0;
  failAt = at;
  failLater = later;
  armed = true;
}

// Returns whether the armed failure was reached.
bool disarm() {
  armed = false;
  return counted > failAt;
}

}  // namespace

extern "C" void* malloc(size_t size) {
  return failThisOne() ? nullptr : __libc_malloc(size);
}

extern "C" void* calloc(size_t count, size_t size) {
  return failThisOne() ? nullptr : __libc_calloc(count, size);
}

extern "C" void* realloc(void* memory, size_t size) {
  return failThisOne() ? nullptr : __libc_realloc(memory, size);
}

extern "C" void free(void* memory) {
  __libc_free(memory);
}

namespace {

std::vector<std::string> logged;

// The log records with the failures paused: the host's memory is its own.
bool recordLog(const char* text) {
  const bool wasArmed = armed;
  armed = false;
  logged.emplace_back(text);
  armed = wasArmed;
  return true;
}

const char kError[] = "Error while printing current SRF header data to ascii";
const char kSaved[] =
    "Header information of file saved to text.\nIt is located in the same folder as the surface "
    "file.";
const char kNotWritten[] = "Header information could not be written to the text file ";

class AllocationFailure : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    saved_ = hostFunctions;
    hostFunctions.zvLogText = recordLog;
    std::memset(&surface_, 0, sizeof(surface_));
    surface_.vertexCount = 40962;
    surface_.meshCenter = {128, 128, 128};
  }
  void TearDown() override {
    armed = false;
    hostFunctions = saved_;
  }

  ScratchFolder folder_;
  HostFunctionTable saved_;
  SurfaceRecord surface_;
};

}  // namespace

TEST_P(AllocationFailure, TheLoggedReportIsWholeOrAnError) {
  const std::string name = folder_ / "brain.srf";
  surface_.fileName = name.c_str();
  const char* whole = formatSurfaceHeader(&surface_);
  ASSERT_NE(whole, nullptr);
  const std::string expected(whole);
  releaseSurfaceHeader(whole);
  bool reached = true;
  for (long at = 0; reached; ++at) {
    logged.clear();
    arm(at, GetParam());
    const char* report = formatSurfaceHeader(&surface_);
    if (report != nullptr) recordLog(report);
    releaseSurfaceHeader(report);
    reached = disarm();
    ASSERT_EQ(logged.size(), 1u) << "allocation " << at;
    if (logged[0] != kError) {
      EXPECT_EQ(logged[0], expected) << "allocation " << at;
    }
  }
}

TEST_P(AllocationFailure, TheTextFileIsReplacedWholeOrKeptAndTheLogSaysWhich) {
  // A name longer than a host text, so that the failure line is long too.
  const std::string base = folder_ / std::string(240, 'b');
  const std::string surfaceName = base + ".srf";
  const std::string textName = base + ".txt";
  surface_.fileName = surfaceName.c_str();
  const std::string notWritten = kNotWritten + textName + ".";
  int confirmed = 0;
  int errorLines = 0;
  bool reached = true;
  for (long at = 0; reached; ++at) {
    std::ofstream(textName, std::ios::binary) << "old\n";
    logged.clear();
    arm(at, GetParam());
    const char* report = formatSurfaceHeader(&surface_);
    writeSurfaceHeaderFile(surface_, report);
    releaseSurfaceHeader(report);
    reached = disarm();
    const std::string content = readFile(textName);
    const auto entries = std::filesystem::directory_iterator(folder_ / "");
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1)
        << "only the text file, allocation " << at;
    ASSERT_FALSE(logged.empty()) << "allocation " << at;
    const std::string& last = logged.back();
    if (last == kSaved) {
      ++confirmed;
      EXPECT_EQ(logged.size(), 1u) << "allocation " << at;
      EXPECT_EQ(content.rfind("\nSRF filename: \n" + surfaceName + "\n", 0), 0u);
      EXPECT_EQ(content.substr(content.size() - 15), "Render mode: 0\n");
      continue;
    }
    EXPECT_EQ(content, "old\n") << "allocation " << at;
    if (logged.size() == 2) {
      EXPECT_EQ(logged[0], kError) << "allocation " << at;
    }
    EXPECT_LE(logged.size(), 2u) << "allocation " << at;
    if (last == notWritten) continue;
    // Without memory even for the line, the error line says it, whole: a
    // line cut short would name another file.
    ++errorLines;
    EXPECT_EQ(last, kError) << "allocation " << at;
  }
  // A failed shrink of the report, or a file buffer the C library does
  // without, still lets the whole file be written.
  EXPECT_GE(confirmed, 1) << "the run in which nothing failed writes the file";
  if (GetParam()) {
    EXPECT_GT(errorLines, 0) << "the failure line's own memory failed once at least";
  }
}

INSTANTIATE_TEST_SUITE_P(OneOrAllFromThere, AllocationFailure, ::testing::Bool());
