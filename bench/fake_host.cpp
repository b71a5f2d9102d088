#include "bench/fake_host.h"

#include <string.h>

#include "host/host_function_table.h"
#include "platform/export.h"

const char* const kPaintColour = "FF0000";

namespace {

constexpr int kHostMajor = 3;
constexpr int kHostMinor = 2;
constexpr int kHostSub = 0;
constexpr int kChangeColorsChoice = 1;

SurfaceRecord currentSurface = {};
int currentVmr = 0;
int unexpectedCalls = 0;
int64_t redraws = 0;
// The number answers of one painting, given in turn and then again.
int integerAnswers[3] = {};
int integerAnswerCount = 0;
int nextIntegerAnswer = 0;

}  // namespace

extern "C" {

FACETKIT_EXPORT bool zvGetVersionOfZandrovix(int* major, int* minor, int* sub) {
  *major = kHostMajor;
  *minor = kHostMinor;
  *sub = kHostSub;
  return true;
}

FACETKIT_EXPORT bool zvShowLogTab() {
  return true;
}

FACETKIT_EXPORT bool zvLogText(const char*) {
  return true;
}

FACETKIT_EXPORT bool zvMessageBox(const char*) {
  return true;
}

FACETKIT_EXPORT void* zvGetCurrentVMR(int*, int*, int*) {
  return &currentVmr;
}

FACETKIT_EXPORT bool zvGetScene(SceneRecord* scene) {
  scene->surfaceCount = 1;
  return true;
}

FACETKIT_EXPORT bool zvGetCurrentSRF(SurfaceRecord* surface) {
  *surface = currentSurface;
  return true;
}

FACETKIT_EXPORT int zvGetIntegerInput(char*, int, int, int) {
  int answer = integerAnswers[nextIntegerAnswer];
  nextIntegerAnswer = (nextIntegerAnswer + 1) % integerAnswerCount;
  return answer;
}

FACETKIT_EXPORT int zvGetTextInput(char*, char*, char* answer) {
  strcpy(answer, kPaintColour);
  return 1;
}

FACETKIT_EXPORT bool zvUpdateActiveWindow() {
  ++redraws;
  return true;
}

FACETKIT_EXPORT int zvYesNoMessageBox(const char*) {
  return 0;
}

FACETKIT_EXPORT bool zvGetZandrovixPath(char* path) {
  ++unexpectedCalls;
  path[0] = '\0';
  return false;
}

FACETKIT_EXPORT int zvGetSaveFileName(const char*, const char*, const char*, char*) {
  ++unexpectedCalls;
  return 0;
}

FACETKIT_EXPORT bool zvSaveCurrentSRF(const char*) {
  ++unexpectedCalls;
  return false;
}

}  // extern "C"

void setFakeSurface(const SurfaceRecord& surface, PaintRoute route) {
  currentSurface = surface;
  integerAnswerCount = 0;
  if (route == PaintRoute::kMenu) integerAnswers[integerAnswerCount++] = kChangeColorsChoice;
  integerAnswers[integerAnswerCount++] = 0;
  integerAnswers[integerAnswerCount++] = surface.vertexCount - 1;
  nextIntegerAnswer = 0;
}

void installFakeHost() {
  memset(&hostFunctions, 0, sizeof(hostFunctions));
  // Every function the plug-in calls is one of the fakes above; a host
  // function added to the list without a fake does not compile.
#define FAKE_HOST_INSTALL(name) hostFunctions.name = name;
#define FAKE_HOST_SKIP(name)
  FACETKIT_HOST_FUNCTIONS(FAKE_HOST_INSTALL, FAKE_HOST_SKIP)
#undef FAKE_HOST_INSTALL
#undef FAKE_HOST_SKIP
  integerAnswerCount = 1;
  nextIntegerAnswer = 0;
  unexpectedCalls = 0;
  redraws = 0;
}

int unexpectedHostCalls() {
  return unexpectedCalls;
}

int64_t redrawCount() {
  return redraws;
}
