#pragma once

// The contract of the 14 host functions that Facetkit calls. Both sides of
// the binary interface include this file: the plug-in to call through its
// host function table, the stand-in host to define the functions with
// exactly these signatures. All texts are 8-bit and zero-terminated; a buffer
// that the host fills is 256 bytes, supplied and owned by the caller, and
// receives at most 255 characters and the terminator.

#include <stdint.h>

#include "host/host_records.h"

// Size of every text buffer that a host function fills.
constexpr int kHostTextSize = 256;

// Fills `major`, `minor` and `sub` with the host's version. Result unused.
using zvGetVersionOfZandrovixFn = bool (*)(int* major, int* minor, int* sub);
// Copies the host's installation folder into `path`. Result unused.
using zvGetZandrovixPathFn = bool (*)(char* path);
// Brings the log tab to the front. Result unused.
using zvShowLogTabFn = bool (*)();
// Appends `text` (any length, any number of lines) to the log. Result unused.
using zvLogTextFn = bool (*)(const char* text);
// Shows `text` and returns once the user has dismissed it. Result unused.
using zvMessageBoxFn = bool (*)(const char* text);
// Asks `question` with Yes and No buttons. Returns nonzero for yes, 0 for no.
using zvYesNoMessageBoxFn = int (*)(const char* question);
// Asks for a whole number between `lowest` and `highest`, offering `preset`.
// Returns the number entered. Facetkit always passes equal `preset` and
// `lowest`; what a cancel returns is the host's choice.
using zvGetIntegerInputFn = int (*)(char* prompt, int preset, int lowest, int highest);
// Asks for a text, offering `preset`. Returns above 0 when the user accepted,
// with the answer in `answer`; 0 or less when cancelled.
using zvGetTextInputFn = int (*)(char* prompt, char* preset, char* answer);
// Shows a save dialog starting in `startPath` and listing `filter`. Returns
// above 0 with the chosen name in `fileName`; 0 or less when cancelled.
using zvGetSaveFileNameFn = int (*)(const char* title, const char* startPath, const char* filter,
                                    char* fileName);
// Redraws the host's active window, so that changed vertex colours show.
using zvUpdateActiveWindowFn = bool (*)();
// Returns the current VMR document, or null when there is none. The three
// integers are filled by the host and never read by Facetkit.
using zvGetCurrentVMRFn = void* (*)(int* first, int* second, int* third);
// Fills `scene` with the number of surfaces. Result unused.
using zvGetSceneFn = bool (*)(SceneRecord* scene);
// Fills `surface` for the current surface; its colour array stays the host's,
// and writes into it change the host's surface. Result unused.
using zvGetCurrentSRFFn = bool (*)(SurfaceRecord* surface);
// Saves the current surface, colours included, to `fileName`. Result unused.
using zvSaveCurrentSRFFn = bool (*)(const char* fileName);

// The type of a host function that Facetkit looks up but never calls.
using HostProc = void (*)();
