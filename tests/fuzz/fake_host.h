#pragma once

// A host served in-process to the plug-in for fuzzing: the fuzz input
// chooses everything the host says, and the host remembers what the plug-in
// did, for the checks after a run.

#include <fuzzer/FuzzedDataProvider.h>
#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

#include "host/host_function_list.h"
#include "host/host_records.h"

namespace fuzzhost {

// How many host functions the plug-in may call: those marked called in
// host/host_function_list.h, whose order Session::missing follows.
#define FUZZHOST_COUNT(name) +1
#define FUZZHOST_SKIP(name)
constexpr int kCalledCount = 0 FACETKIT_HOST_FUNCTIONS(FUZZHOST_COUNT, FUZZHOST_SKIP);
#undef FUZZHOST_COUNT
#undef FUZZHOST_SKIP

// The most vertices a fuzzed surface has; its colour array ends at a page
// that may not be touched.
constexpr int32_t kMostVertices = 10000000;

struct IntegerAnswer {
  std::string prompt;
  int value;
};

struct Session {
  FuzzedDataProvider* input = nullptr;
  // Set up before the run.
  bool moduleFound = true;
  bool missing[kCalledCount] = {};
  SurfaceRecord surface = {};
  std::string fileName;  // surface.fileName points into it unless null
  // What the plug-in did.
  bool surfaceGiven = false;
  std::vector<std::string> logged;  // every text but the listed vertices
  // The listed vertices, checked as they come ("Vertex: N, value: V" with V
  // the stored value, N one more than the one before): the first and last
  // listed, and how many; a listing fault ends the run at once.
  long listedFirst = -1;
  long listedLast = -1;
  long listedCount = 0;
  std::vector<IntegerAnswer> integerAnswers;
  std::vector<std::string> textAnswers;  // as the plug-in may read them
  int redraws = 0;
  int saves = 0;
  std::vector<std::string> openedFiles;
  std::vector<std::pair<std::string, std::string>> renames;
  std::vector<std::string> removed;
  bool openedFullDisk = false;
};

// The session the host functions serve; null outside a run.
extern Session* session;
// The file that stands for every text file the plug-in opens.
extern std::string scratchPath;

// The host's colour array of `count` entries (at most kMostVertices), ending
// at a guard page. All arrays share one region, whose entries hold
// untouchedValue until the plug-in paints them.
int32_t* colourArray(int32_t count);
// What `vertex` of an array of `count` entries holds before any painting.
int32_t untouchedValue(int32_t count, int32_t vertex);

}  // namespace fuzzhost
