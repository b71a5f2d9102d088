#include "bench/fake_host.h"

#include <string.h>

#include "host/host_function_table.h"
#include "platform/export.h"

const char* const kPaintColour = "FF0000";

namespace {

// The first words of the prompts that the run and the editing show.
const char* const kMenuPrompt = "Please select one of the following functions:";
const char* const kFirstVertexPrompt = "Please enter the first vertex number";
const char* const kLastVertexPrompt = "Please enter the last vertex number";

constexpr int kHostMajor = 3;
constexpr int kHostMinor = 2;
constexpr int kHostSub = 0;
constexpr int kChangeColorsChoice = 1;

SurfaceRecord currentSurface = {};
int currentVmr = 0;
int unexpectedCalls = 0;
int64_t redraws = 0;

bool startsWith(const char* text, const char* start) {
  return strncmp(text, start, strlen(start)) == 0;
}

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

FACETKIT_EXPORT int zvGetIntegerInput(char* prompt, int, int, int) {
  if (startsWith(prompt, kMenuPrompt)) return kChangeColorsChoice;
  if (startsWith(prompt, kFirstVertexPrompt)) return 0;
  if (startsWith(prompt, kLastVertexPrompt)) return currentSurface.vertexCount - 1;
  ++unexpectedCalls;
  return 0;
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

void setFakeSurface(const SurfaceRecord& surface) {
  currentSurface = surface;
}

void installFakeHost() {
  memset(&hostFunctions, 0, sizeof(hostFunctions));
  hostFunctions.zvGetVersionOfZandrovix = zvGetVersionOfZandrovix;
  hostFunctions.zvShowLogTab = zvShowLogTab;
  hostFunctions.zvLogText = zvLogText;
  hostFunctions.zvMessageBox = zvMessageBox;
  hostFunctions.zvGetCurrentVMR = zvGetCurrentVMR;
  hostFunctions.zvGetScene = zvGetScene;
  hostFunctions.zvGetCurrentSRF = zvGetCurrentSRF;
  hostFunctions.zvGetIntegerInput = zvGetIntegerInput;
  hostFunctions.zvGetTextInput = zvGetTextInput;
  hostFunctions.zvUpdateActiveWindow = zvUpdateActiveWindow;
  hostFunctions.zvYesNoMessageBox = zvYesNoMessageBox;
  hostFunctions.zvGetZandrovixPath = zvGetZandrovixPath;
  hostFunctions.zvGetSaveFileName = zvGetSaveFileName;
  hostFunctions.zvSaveCurrentSRF = zvSaveCurrentSRF;
  unexpectedCalls = 0;
  redraws = 0;
}

int unexpectedHostCalls() {
  return unexpectedCalls;
}

int64_t redrawCount() {
  return redraws;
}
