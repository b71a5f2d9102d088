#pragma once

// Everything the host functions work on during one session: the settings
// chosen on the command line, the current surface, the log, where answers
// come from, and what went wrong. main owns the one HostState and points
// `host` at it for the exported functions.

#include <stdio.h>

#include "standin/base/growing_text.h"
#include "standin/calls/answer_script_parser.h"
#include "standin/calls/host_settings.h"
#include "standin/mesh/host_surface.h"
#include "standin/pictures/picture_output.h"

namespace standin {

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
