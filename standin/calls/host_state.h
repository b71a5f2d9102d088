#pragma once

// Everything the host functions work on during one session: the settings
// chosen on the command line, the current surface, the log, where answers
// come from, and what went wrong. main owns the one HostState and points
// `host` at it for the exported functions.

#include <stdio.h>

#include "standin/base/growing_text.h"
#include "standin/calls/answer_script_parser.h"
#include "standin/mesh/host_surface.h"
#include "standin/pictures/picture_output.h"

namespace standin {

// How zvGetCurrentSRF fills the record, so that sessions can play hosts
// whose surfaces are unusual or whose record is left unfilled.
enum class RecordFill {
  kFull,        // every field from the current surface
  kNoVertices,  // vertex count 0 and no colour array
  kNoColors,    // the vertex count, but no colour array
  kNoFileName,  // no file name text
  kNothing,     // the record is left as the plug-in handed it over
};

struct HostSettings {
  int versionMajor = 3;
  int versionMinor = 2;
  int versionSub = 0;
  bool vmrPresent = true;
  int surfaceCount = 1;
  const char* hostPath = "C:\\Program Files\\Zandrovix\\";
  RecordFill recordFill = RecordFill::kFull;
  // zvGetScene leaves its record as the plug-in handed it over.
  bool sceneUnfilled = false;
};

struct HostState {
  HostSettings settings;
  HostSurface surface;
  // Everything written with zvLogText, each text followed by a line feed.
  GrowingText log;
  // Where the log is also written as it grows; null for none.
  FILE* logFile = nullptr;
  // The script of answers; null to ask on the terminal.
  AnswerScript* script = nullptr;
  // Calls of host functions that the plug-in has no business calling.
  int unexpectedCalls = 0;
  // Set by the first script error; from then on every prompt is cancelled.
  bool scriptFailed = false;
  int promptsAfterScriptError = 0;
  // Pictures drawn on each redraw; null for none.
  PictureOutput* pictures = nullptr;
};

// The session's state, or null outside a session.
extern HostState* host;

}  // namespace standin
