#pragma once

// One session of a plug-in in the stand-in host, as Zandrovix runs one.

#include "standin/calls/host_state.h"
#include "standin/session/options.h"

namespace standin {

// Loads the plug-in library at `path`, reads its name, description, author,
// help file and GUI script, creates the plug-in object, calls initPlugin
// (unless skipped) and, if it agrees, execute as often as `options` says,
// traces the chosen vertex colours, ends the object with delete and unloads
// the library; each step is a "host: " trace line. Returns false, with a
// message on standard error and in the trace, when the library, one of its
// exports or the object is missing: a setup error.
bool runPluginSession(const char* path, const Options& options, HostState* state);

}  // namespace standin
