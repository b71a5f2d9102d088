#include "bench/fake_host.h"

#include <string.h>

#include "host/host_function_table.h"

const char* const kPaintColour = "FF0000";

namespace {

const int kRangeAnswers[] = {0, kPaintedVertexCount - 1};

int nextRangeAnswer = 0;
int unexpectedCalls = 0;

bool showNothing(const char*) {
  return false;
}

bool redrawNothing() {
  return false;
}

int answerRange(char*, int, int, int) {
  const int answer = kRangeAnswers[nextRangeAnswer];
  nextRangeAnswer = (nextRangeAnswer + 1) % 2;
  return answer;
}

int answerColour(char*, char*, char* answer) {
  strcpy(answer, kPaintColour);
  return 1;
}

int answerNo(const char*) {
  return 0;
}

bool unexpectedPath(char* path) {
  ++unexpectedCalls;
  path[0] = '\0';
  return false;
}

int unexpectedSaveDialog(const char*, const char*, const char*, char*) {
  ++unexpectedCalls;
  return 0;
}

bool unexpectedSave(const char*) {
  ++unexpectedCalls;
  return false;
}

}  // namespace

void installFakeHost() {
  memset(&hostFunctions, 0, sizeof(hostFunctions));
  hostFunctions.zvLogText = showNothing;
  hostFunctions.zvMessageBox = showNothing;
  hostFunctions.zvGetIntegerInput = answerRange;
  hostFunctions.zvGetTextInput = answerColour;
  hostFunctions.zvUpdateActiveWindow = redrawNothing;
  hostFunctions.zvYesNoMessageBox = answerNo;
  hostFunctions.zvGetZandrovixPath = unexpectedPath;
  hostFunctions.zvGetSaveFileName = unexpectedSaveDialog;
  hostFunctions.zvSaveCurrentSRF = unexpectedSave;
  nextRangeAnswer = 0;
  unexpectedCalls = 0;
}

int unexpectedHostCalls() {
  return unexpectedCalls;
}
