// The fuzzed host: the host functions the plug-in calls, each under its host
// name, answering from the fuzz input, and
// the platform's module lookup, which hands the plug-in these functions (null
// for the ones the input leaves out) instead of a host program's exports.

#include "tests/fuzz/fake_host.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "host/host_api.h"
#include "host/host_function_list.h"
#include "platform/guarded_memory.h"
#include "platform/module_lookup.h"

namespace fuzzhost {

Session* session = nullptr;
std::string scratchPath;

namespace {

char vmrDocument[1];
int32_t* colourEnd = nullptr;

// An integer as a host may return it: often one at a bound.
int pickInteger(int lowest, int highest) {
  FuzzedDataProvider& input = *session->input;
  switch (input.ConsumeIntegralInRange(0, 9)) {
    case 0:
      return INT_MIN;
    case 1:
      return -1;
    case 2:
      return INT_MAX;
    case 3:
      return lowest;
    case 4:
      return highest;
    case 5:
      return highest == INT_MAX ? highest : highest + 1;
    case 6:
      return input.ConsumeIntegralInRange(0, 5);
    case 7:
      return input.ConsumeIntegral<int>();
    default:
      return lowest <= highest ? input.ConsumeIntegralInRange(lowest, highest) : lowest;
  }
}

// Fills a 256-byte host buffer: up to 255 characters and the terminator, or
// all 256 bytes without one. Returns what the plug-in may read of it.
std::string fillHostText(char* buffer) {
  FuzzedDataProvider& input = *session->input;
  size_t length = input.ConsumeIntegralInRange<size_t>(0, kHostTextSize);
  std::string text = input.ConsumeBytesAsString(length);
  memcpy(buffer, text.data(), text.size());
  if (text.size() < kHostTextSize) buffer[text.size()] = '\0';
  return std::string(buffer, strnlen(buffer, kHostTextSize - 1));
}

// Reads a text the plug-in gave; a missing terminator is caught here.
void readText(const char* text) {
  if (text == nullptr) abort();
  (void)strlen(text);
}

bool zvGetVersionOfZandrovix(int* major, int* minor, int* sub) {
  FuzzedDataProvider& input = *session->input;
  int* parts[3] = {major, minor, sub};
  const int usual[3] = {3, 2, 0};
  bool pick = input.ConsumeBool();
  for (int index = 0; index < 3; ++index) {
    *parts[index] = pick ? pickInteger(0, 9) : usual[index];
  }
  return true;
}

bool zvGetZandrovixPath(char* path) {
  fillHostText(path);
  return true;
}

bool zvShowLogTab() {
  return true;
}

// Checks one listed vertex; a fault ends the fuzzing run.
void listVertex(int vertex, int value) {
  const SurfaceRecord& surface = session->surface;
  if (session->listedCount > 0 && vertex != session->listedLast + 1) {
    fprintf(stderr, "fault: vertex %d listed after %ld\n", vertex, session->listedLast);
    abort();
  }
  if (surface.vertexColors == nullptr || vertex < 0 || vertex >= surface.vertexCount ||
      surface.vertexColors[vertex] != value) {
    fprintf(stderr, "fault: vertex %d listed with value %d, not the stored one\n", vertex, value);
    abort();
  }
  if (session->listedCount == 0) session->listedFirst = vertex;
  session->listedLast = vertex;
  ++session->listedCount;
}

bool zvLogText(const char* text) {
  readText(text);
  int vertex = 0;
  int value = 0;
  char end = 0;
  if (strncmp(text, "Vertex: ", 8) == 0 &&
      sscanf(text, "Vertex: %d, value: %d%c", &vertex, &value, &end) == 2) {
    listVertex(vertex, value);
  } else {
    session->logged.push_back(text);
  }
  return true;
}

bool zvMessageBox(const char* text) {
  readText(text);
  return true;
}

int zvYesNoMessageBox(const char* question) {
  readText(question);
  switch (session->input->ConsumeIntegralInRange(0, 3)) {
    case 0:
      return 0;
    case 1:
      return 1;
    case 2:
      return -1;
    default:
      return INT_MIN;
  }
}

// On surfaces of more than this many vertices a range spans at most this
// many, so that a run lists or paints in milliseconds; its ends still reach
// past both ends of the array.
constexpr int kLongestRange = 4096;

int zvGetIntegerInput(char* prompt, int preset, int lowest, int highest) {
  readText(prompt);
  (void)preset;
  int value = pickInteger(lowest, highest);
  const std::vector<IntegerAnswer>& before = session->integerAnswers;
  if (highest > kLongestRange && strncmp(prompt, "Please enter the last", 21) == 0 &&
      !before.empty() && strncmp(before.back().prompt.c_str(), "Please enter the first", 22) == 0) {
    const int first = before.back().value > 0 ? before.back().value : 0;
    if (value > first && value - first > kLongestRange) value = first + kLongestRange;
  }
  session->integerAnswers.push_back({prompt, value});
  return value;
}

// What a dialog's result may be: above 0 accepted, else cancelled.
int dialogResult() {
  switch (session->input->ConsumeIntegralInRange(0, 4)) {
    case 0:
      return 0;
    case 1:
      return -1;
    case 2:
      return INT_MIN;
    case 3:
      return INT_MAX;
    default:
      return 1;
  }
}

int zvGetTextInput(char* prompt, char* preset, char* answer) {
  readText(prompt);
  readText(preset);
  int result = dialogResult();
  std::string text = fillHostText(answer);
  if (result > 0) session->textAnswers.push_back(text);
  return result;
}

int zvGetSaveFileName(const char* title, const char* startPath, const char* filter,
                      char* fileName) {
  readText(title);
  readText(startPath);
  readText(filter);
  int result = dialogResult();
  fillHostText(fileName);
  return result;
}

bool zvUpdateActiveWindow() {
  ++session->redraws;
  return true;
}

void* zvGetCurrentVMR(int* first, int* second, int* third) {
  *first = *second = *third = 256;
  return session->input->ConsumeIntegralInRange(0, 7) == 0 ? nullptr : vmrDocument;
}

bool zvGetScene(SceneRecord* record) {
  FuzzedDataProvider& input = *session->input;
  switch (input.ConsumeIntegralInRange(0, 7)) {
    case 0:
      return true;  // left unfilled
    case 1:
      record->surfaceCount = 0;
      break;
    case 2:
      record->surfaceCount = -1;
      break;
    case 3:
      record->surfaceCount = input.ConsumeIntegral<int32_t>();
      break;
    default:
      record->surfaceCount = 1;
      break;
  }
  return true;
}

bool zvGetCurrentSRF(SurfaceRecord* record) {
  if (session->input->ConsumeIntegralInRange(0, 15) == 0) return true;  // left unfilled
  *record = session->surface;
  session->surfaceGiven = true;
  return true;
}

bool zvSaveCurrentSRF(const char* fileName) {
  readText(fileName);
  ++session->saves;
  return true;
}

// Any other host function: the plug-in never calls one.
void unexpectedCall() {
  fprintf(stderr, "the plug-in called a host function it has no use for\n");
  abort();
}

template <typename Function>
ProcAddress address(Function function) {
  ProcAddress result = nullptr;
  static_assert(sizeof(result) == sizeof(function), "function addresses");
  memcpy(&result, &function, sizeof(result));
  return result;
}

// The called host functions in the list's order, each with the fake above
// of its name; a host function added to the list without a fake, or a fake
// of another type than the host function's, does not compile.
struct CalledFunction {
  const char* name;
  ProcAddress address;
};
#define FUZZHOST_ENTRY(name) {#name, address<name##Fn>(name)},
#define FUZZHOST_SKIP(name)
const CalledFunction kCalled[] = {FACETKIT_HOST_FUNCTIONS(FUZZHOST_ENTRY, FUZZHOST_SKIP)};
#undef FUZZHOST_ENTRY
#undef FUZZHOST_SKIP
static_assert(sizeof(kCalled) / sizeof(kCalled[0]) == kCalledCount, "one fake per called name");

char hostModule[1];

// Writes nothing, as the C library's own file writer reports a write that
// fails for want of space (no byte written; the error flag is then set).
ssize_t refuseWrite(void*, const char*, size_t) {
  errno = ENOSPC;
  return 0;
}

// A file on a full disk: every write of its buffer fails.
FILE* fullDisk(const char* mode) {
  cookie_io_functions_t functions = {nullptr, refuseWrite, nullptr, nullptr};
  return fopencookie(nullptr, mode, functions);
}

}  // namespace

int32_t untouchedValue(int32_t count, int32_t vertex) {
  const uint32_t fromEnd = static_cast<uint32_t>(count) - static_cast<uint32_t>(vertex);
  return static_cast<int32_t>(fromEnd * 2654435761u >> 1);
}

int32_t* colourArray(int32_t count) {
  if (colourEnd == nullptr) {
    int32_t* start = static_cast<int32_t*>(
        allocateGuarded(static_cast<size_t>(kMostVertices) * sizeof(int32_t)));
    if (start == nullptr) abort();
    for (int32_t vertex = 0; vertex < kMostVertices; ++vertex) {
      start[vertex] = untouchedValue(kMostVertices, vertex);
    }
    colourEnd = start + kMostVertices;
  }
  return colourEnd - count;
}

}  // namespace fuzzhost

extern "C" ModuleHandle GetModuleHandleA(const char* moduleName) {
  using fuzzhost::session;
  if (session == nullptr || !session->moduleFound || moduleName == nullptr) return nullptr;
  return strcasecmp(moduleName, "Zandrovix.exe") == 0 ? fuzzhost::hostModule : nullptr;
}

extern "C" ProcAddress GetProcAddress(ModuleHandle module, const char* procName) {
  using fuzzhost::session;
  if (session == nullptr || module != fuzzhost::hostModule || procName == nullptr) return nullptr;
  for (int index = 0; index < fuzzhost::kCalledCount; ++index) {
    if (strcmp(procName, fuzzhost::kCalled[index].name) != 0) continue;
    return session->missing[index] ? nullptr : fuzzhost::kCalled[index].address;
  }
  return fuzzhost::address(fuzzhost::unexpectedCall);
}

// Files the plug-in writes, by fopen or by open: the name is remembered and
// the file is a scratch file in the fuzzer's folder, or a full disk, or cannot
// be opened (for open, as in a folder this user may not write in), as the
// input chooses. Renaming and removing only rename and remove the names, so
// that nothing outside the fuzzer's folder is touched.
extern "C" FILE* __real_fopen(const char* name, const char* mode);
extern "C" FILE* __wrap_fopen(const char* name, const char* mode) {
  using fuzzhost::session;
  if (session == nullptr) return __real_fopen(name, mode);
  session->openedFiles.push_back(name);
  session->openedFullDisk = false;
  switch (session->input->ConsumeIntegralInRange(0, 5)) {
    case 0:
      return nullptr;
    case 1:
      session->openedFullDisk = true;
      return fuzzhost::fullDisk(mode);
    default:
      return __real_fopen(fuzzhost::scratchPath.c_str(), mode);
  }
}

extern "C" int __real_open(const char* name, int flags, ...);
extern "C" int __wrap_open(const char* name, int flags, ...) {
  using fuzzhost::session;
  mode_t mode = 0;
  if ((flags & O_CREAT) != 0) {
    va_list arguments;
    va_start(arguments, flags);
    mode = static_cast<mode_t>(va_arg(arguments, int));
    va_end(arguments);
  }
  if (session == nullptr) return __real_open(name, flags, mode);
  session->openedFiles.push_back(name);
  session->openedFullDisk = false;
  switch (session->input->ConsumeIntegralInRange(0, 5)) {
    case 0:
      errno = EACCES;
      return -1;
    case 1:
      session->openedFullDisk = true;
      return __real_open("/dev/full", O_WRONLY | O_CLOEXEC);
    default:
      return __real_open(fuzzhost::scratchPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                         0600);
  }
}

extern "C" int __real_rename(const char* from, const char* to);
extern "C" int __wrap_rename(const char* from, const char* to) {
  using fuzzhost::session;
  if (session == nullptr) return __real_rename(from, to);
  // A failed rename moves nothing, so only one that succeeds is remembered.
  if (session->input->ConsumeIntegralInRange(0, 7) == 0) return -1;
  session->renames.push_back({from, to});
  return 0;
}

extern "C" int __real_remove(const char* name);
extern "C" int __real_unlink(const char* name);

namespace {

// Removing a name in a run only forgets it, whichever call removes it.
int removeName(const char* name, int (*realRemove)(const char*)) {
  if (fuzzhost::session == nullptr) return realRemove(name);
  fuzzhost::session->removed.push_back(name);
  return 0;
}

}  // namespace

extern "C" int __wrap_remove(const char* name) {
  return removeName(name, __real_remove);
}

extern "C" int __wrap_unlink(const char* name) {
  return removeName(name, __real_unlink);
}
