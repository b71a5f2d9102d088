#pragma once

// The stand-in's implementation of the host functions that plug-ins call;
// host_exports.cpp exports each under its host name. Every call is written
// to the trace. Outside a session (no HostState) they do nothing and return
// 0 or null.

#include <stdint.h>

#include "host/host_api.h"
#include "host/host_records.h"

namespace standin {

bool hostGetVersion(int* major, int* minor, int* sub);
bool hostGetPath(char* path);
bool hostShowLogTab();
bool hostLogText(const char* text);
bool hostMessageBox(const char* text);
int hostYesNoMessageBox(const char* question);
// Cancelled: -1.
int hostGetIntegerInput(const char* prompt, int preset, int lowest, int highest);
// Cancelled: 0, with `answer` empty.
int hostGetTextInput(const char* prompt, const char* preset, char* answer);
// Cancelled: 0, with `fileName` empty.
int hostGetSaveFileName(const char* title, const char* startPath, const char* filter,
                        char* fileName);
bool hostUpdateActiveWindow();
void* hostGetCurrentVMR(int* first, int* second, int* third);
bool hostGetScene(SceneRecord* scene);
bool hostGetCurrentSRF(SurfaceRecord* surface);
bool hostSaveCurrentSRF(const char* fileName);

// Records a call of the host function `name`, which no plug-in of this kind
// should call: a trace line, and a failed session. Returns 0.
intptr_t hostUnexpectedCall(const char* name);

}  // namespace standin
