// Zandrovix.exe, the stand-in host: reads the command line, prepares the
// host's state (trace, log, answers, surface), runs one plug-in session and
// turns what happened into the exit code.

#include <locale.h>
#include <stdio.h>
#include <string.h>

#include "platform/library_loader.h"
#include "platform/terminal.h"
#include "standin/base/trace.h"
#include "standin/calls/host_state.h"
#include "standin/files/surface_file.h"
#include "standin/mesh/sample_surface.h"
#include "standin/session/options.h"
#include "standin/session/plugin_session.h"

namespace {

using standin::GrowingText;
using standin::HostState;
using standin::Options;
using standin::traceHost;

const char* const kSeeHelp = "Run Zandrovix.exe --help for the options.\n";
// The project's version, from the build.
const char* const kStandInVersion = FACETKIT_STANDIN_VERSION;

const int kExitSessionRan = 0;
const int kExitUnexpectedCall = 1;
const int kExitSetupError = 2;
const int kExitScriptError = 3;
const int kExitPictureError = 4;

int fail(int code, const char* message, const char* detail) {
  fprintf(stderr, "Zandrovix.exe: %s%s\n", message, detail);
  traceHost("error: %s%s", message, detail);
  return code;
}

bool fileExists(const char* path) {
  FILE* file = fopen(path, "rb");
  if (file == nullptr) return false;
  fclose(file);
  return true;
}

// The plug-in given on the command line, or the one beside this program,
// or the one two folders up (the build folder, for the hosts under
// hosts/<variant>/).
bool choosePlugin(const Options& options, GrowingText* path) {
  if (options.pluginPath != nullptr) {
    path->append(options.pluginPath);
    return true;
  }
  char folder[4096];
  if (!executableFolder(folder, sizeof(folder))) return false;
  const char* const relativeFolders[] = {"", "../../"};
  for (const char* relative : relativeFolders) {
    path->clear();
    path->appendFormat("%s%s%s", folder, relative, kPluginLibraryFileName);
    if (fileExists(path->text())) return true;
  }
  path->clear();
  path->appendFormat("%s%s", folder, kPluginLibraryFileName);
  return true;
}

// Sets the process's locale to the first of the comma-separated `names`
// that the C runtime accepts. Returns whether one was accepted.
bool setHostLocale(const char* names) {
  char name[128];
  while (*names != '\0') {
    const char* end = strchr(names, ',');
    const size_t length = end != nullptr ? static_cast<size_t>(end - names) : strlen(names);
    if (length < sizeof(name)) {
      memcpy(name, names, length);
      name[length] = '\0';
      if (length > 0 && setlocale(LC_ALL, name) != nullptr) return true;
    }
    names += end != nullptr ? length + 1 : length;
  }
  return false;
}

int prepareAndRun(const Options& options, HostState* state, standin::AnswerScript* script) {
  if (options.answersPath != nullptr) {
    GrowingText contents;
    if (!standin::readFile(options.answersPath, &contents)) {
      return fail(kExitSetupError, "cannot read the answer script ", options.answersPath);
    }
    GrowingText error;
    if (!script->parse(contents.text(), contents.length(), &error)) {
      return fail(kExitScriptError, "answer script: ", error.text());
    }
    state->script = script;
  }
  if (options.logPath != nullptr) {
    state->logFile = strcmp(options.logPath, "-") == 0 ? stdout : fopen(options.logPath, "w");
    if (state->logFile == nullptr)
      return fail(kExitSetupError, "cannot write the log ", options.logPath);
  }
  GrowingText error;
  bool surfaceMade = options.surfacePath != nullptr
                         ? standin::loadSurfaceFile(options.surfacePath, &state->surface, &error)
                         : standin::buildSampleSurface(&state->surface);
  if (surfaceMade && options.surfaceName != nullptr) {
    surfaceMade = standin::setSurfaceFileName(&state->surface, options.surfaceName);
  }
  if (!surfaceMade) {
    return fail(kExitSetupError, "no surface: ", error.empty() ? "out of memory" : error.text());
  }
  GrowingText line;
  line.append("host: surface ");
  standin::appendQuoted(&line, state->surface.fileName);
  line.appendFormat(", %d vertices, %d triangles", state->surface.vertexCount,
                    state->surface.triangleCount);
  standin::writeTraceLine(line);

  GrowingText pluginPath;
  if (!choosePlugin(options, &pluginPath)) {
    return fail(kExitSetupError, "cannot find the folder of this program", "");
  }
  // As a host application would, before any plug-in runs; the surface is
  // read first so that its numbers are read the same under any locale.
  if (options.locale != nullptr && !setHostLocale(options.locale)) {
    return fail(kExitSetupError, "no locale the runtime knows among ", options.locale);
  }
  standin::host = state;
  bool ran = standin::runPluginSession(pluginPath.text(), options, state);
  standin::host = nullptr;
  if (!ran) return kExitSetupError;
  if (state->pictures != nullptr) standin::writeSnapshot(state->pictures, state->surface);

  if (state->script != nullptr && state->script->unused() > 0) {
    traceHost("%d answer(s) left unused, from line %d", state->script->unused(),
              state->script->peek()->line);
  }
  if (state->unexpectedCalls > 0) {
    traceHost("%d unexpected call(s)", state->unexpectedCalls);
    return kExitUnexpectedCall;
  }
  if (state->scriptFailed) return kExitScriptError;
  return state->pictures != nullptr && state->pictures->failed ? kExitPictureError
                                                               : kExitSessionRan;
}

// The preview goes to an interactive terminal only, and not between the
// lines of a trace or log written there.
bool wantsPreview(const Options& options) {
  bool traceOnOutput = options.tracePath != nullptr && strcmp(options.tracePath, "-") == 0;
  bool logOnOutput = options.logPath != nullptr && strcmp(options.logPath, "-") == 0;
  return !options.noPreview && !traceOnOutput && !logOnOutput && standardOutputIsColorTerminal();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  GrowingText error;
  if (!standin::parseOptions(argc - 1, argv + 1, &options, &error)) {
    fprintf(stderr, "Zandrovix.exe: %s\n%s", error.text(), kSeeHelp);
    return kExitSetupError;
  }
  if (options.help) {
    GrowingText usage;
    standin::appendUsage(&usage);
    fputs(usage.text(), stdout);
    return kExitSessionRan;
  }
  if (options.version) {
    printf("Zandrovix.exe %s, the Facetkit stand-in host\n", kStandInVersion);
    return kExitSessionRan;
  }
  if (options.tracePath != nullptr && !standin::openTrace(options.tracePath)) {
    fprintf(stderr, "Zandrovix.exe: cannot write the trace %s\n", options.tracePath);
    return kExitSetupError;
  }
  HostState state;
  state.settings = options.settings;
  standin::PictureOutput pictures;
  pictures.settings = options.pictures;
  pictures.settings.preview = wantsPreview(options);
  state.pictures = &pictures;
  standin::AnswerScript script;
  int code = prepareAndRun(options, &state, &script);
  standin::releasePictureOutput(&pictures);
  standin::releaseSurface(&state.surface);
  if (state.logFile != nullptr && state.logFile != stdout) fclose(state.logFile);
  standin::closeTrace();
  return code;
}
