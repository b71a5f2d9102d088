// The host functions that plug-ins call, as the stand-in plays them: answers
// come from the script or the terminal, the surface is the session's, and
// each call leaves one trace line with its arguments, what was filled in and
// its result.

#include "standin/calls/host_operations.h"

#include <stdio.h>
#include <string.h>

#include "standin/base/trace.h"
#include "standin/calls/host_state.h"
#include "standin/calls/save_dialog.h"
#include "standin/calls/scripted_dialogs.h"
#include "standin/calls/terminal_dialogs.h"
#include "standin/files/surface_file.h"

namespace standin {

HostState* host = nullptr;

namespace {

// What the three integers of the current VMR document are filled with: the
// dimensions of a standard 256 x 256 x 256 volume.
const int kVmrDimension = 256;
// The address handed out as the current VMR document; its content is never
// read.
char vmrDocument[1];

// A trace line "name(" for the host function `name`.
class CallLine {
 public:
  explicit CallLine(const char* name) {
    line_.append(name);
    line_.appendChar('(');
  }
  GrowingText& line() { return line_; }
  void separator() { line_.append(", "); }
  void text(const char* value) { appendQuoted(&line_, value); }
  // "out " and the first `length` characters of the plug-in's buffer
  // `buffer`, which the host may have left without a terminator.
  void filled(const char* buffer, size_t length) {
    GrowingText copy;
    copy.append(buffer, length);
    line_.append("out ");
    text(copy.text());
  }
  void integer(int value) { line_.appendFormat("%d", value); }
  // "out 3, 2, 0": the three integers the host filled, null for a missing one.
  void outIntegers(const int* first, const int* second, const int* third) {
    const int* values[3] = {first, second, third};
    line_.append("out ");
    for (int index = 0; index < 3; ++index) {
      if (index > 0) separator();
      if (values[index] == nullptr) {
        line_.append("null");
      } else {
        integer(*values[index]);
      }
    }
  }
  // Closes the argument list with ") -> result" and writes the line.
  void finish(const char* result) {
    line_.append(") -> ");
    line_.append(result);
    writeTraceLine(line_);
  }
  void finish(int result) {
    GrowingText number;
    number.appendFormat("%d", result);
    finish(number.text());
  }

 private:
  GrowingText line_;
};

void appendTriple(GrowingText* line, const char* name, const float* triple) {
  line->appendFormat(", %s (", name);
  for (int index = 0; index < 3; ++index) {
    if (index > 0) line->append(", ");
    appendFloat(line, triple[index]);
  }
  line->appendChar(')');
}

}  // namespace

bool hostGetVersion(int* major, int* minor, int* sub) {
  if (host == nullptr) return false;
  if (major != nullptr) *major = host->settings.versionMajor;
  if (minor != nullptr) *minor = host->settings.versionMinor;
  if (sub != nullptr) *sub = host->settings.versionSub;
  CallLine call("zvGetVersionOfZandrovix");
  call.outIntegers(major, minor, sub);
  call.finish(1);
  return true;
}

bool hostGetPath(char* path) {
  if (host == nullptr) return false;
  size_t written = copyBounded(path, kHostTextSize, host->settings.hostPath);
  CallLine call("zvGetZandrovixPath");
  call.filled(path, written);
  call.finish(1);
  return true;
}

bool hostShowLogTab() {
  if (host == nullptr) return false;
  CallLine("zvShowLogTab").finish(1);
  return true;
}

bool hostLogText(const char* text) {
  if (host == nullptr) return false;
  const char* shown = text != nullptr ? text : "";
  host->log.append(shown);
  host->log.appendChar('\n');
  if (host->logFile != nullptr) {
    fputs(shown, host->logFile);
    fputc('\n', host->logFile);
    fflush(host->logFile);
  }
  if (host->script == nullptr) terminalLog(shown);
  CallLine call("zvLogText");
  call.text(text);
  call.finish(1);
  return true;
}

bool hostMessageBox(const char* text) {
  if (host == nullptr) return false;
  if (host->script == nullptr) terminalMessage(text);
  CallLine call("zvMessageBox");
  call.text(text);
  call.finish(1);
  return true;
}

int hostYesNoMessageBox(const char* question) {
  if (host == nullptr) return 0;
  const char* name = "zvYesNoMessageBox";
  bool yes = host->script != nullptr ? scriptYesNo(host, name) : terminalYesNo(question);
  CallLine call(name);
  call.text(question);
  call.finish(yes ? 1 : 0);
  return yes ? 1 : 0;
}

int hostGetIntegerInput(const char* prompt, int preset, int lowest, int highest) {
  if (host == nullptr) return -1;
  const char* name = "zvGetIntegerInput";
  int value = 0;
  bool given = host->script != nullptr ? scriptInteger(host, name, &value)
                                       : terminalInteger(prompt, lowest, highest, &value);
  int result = given ? value : -1;
  CallLine call(name);
  call.text(prompt);
  call.line().appendFormat(", %d, %d, %d", preset, lowest, highest);
  call.finish(result);
  return result;
}

int hostGetTextInput(const char* prompt, const char* preset, char* answer) {
  if (host == nullptr) return 0;
  const char* name = "zvGetTextInput";
  GrowingText text;
  bool given = host->script != nullptr ? scriptText(host, name, false, &text)
                                       : terminalText(prompt, preset, &text);
  size_t written = copyBounded(answer, kHostTextSize, given ? text.text() : "");
  CallLine call(name);
  call.text(prompt);
  call.separator();
  call.text(preset);
  call.separator();
  call.filled(answer, written);
  call.finish(given ? 1 : 0);
  return given ? 1 : 0;
}

int hostGetSaveFileName(const char* title, const char* startPath, const char* filter,
                        char* fileName) {
  if (host == nullptr) return 0;
  const char* name = "zvGetSaveFileName";
  GrowingText folder;
  bool inStartFolder = saveDialogFolder(startPath, &folder);
  GrowingText chosen;
  bool given = host->script != nullptr
                   ? scriptText(host, name, true, &chosen)
                   : terminalSaveFileName(title, folder.text(), filter, &chosen);
  // A name chosen in the current folder is already where it will be saved;
  // one chosen in the start folder is given back with that folder.
  GrowingText placed;
  if (given && inStartFolder) {
    placeInFolder(folder.text(), chosen.text(), &placed);
  } else {
    placed.append(chosen.text());
  }
  size_t written = copyBounded(fileName, kHostTextSize, given ? placed.text() : "");
  CallLine call(name);
  call.text(title);
  call.separator();
  call.text(startPath);
  call.separator();
  call.text(filter);
  call.separator();
  call.filled(fileName, written);
  call.finish(given ? 1 : 0);
  return given ? 1 : 0;
}

bool hostUpdateActiveWindow() {
  if (host == nullptr) return false;
  CallLine("zvUpdateActiveWindow").finish(1);
  if (host->pictures != nullptr) showRedraw(host->pictures, host->surface);
  return true;
}

void* hostGetCurrentVMR(int* first, int* second, int* third) {
  if (host == nullptr) return nullptr;
  bool present = host->settings.vmrPresent;
  int filled = present ? kVmrDimension : 0;
  if (first != nullptr) *first = filled;
  if (second != nullptr) *second = filled;
  if (third != nullptr) *third = filled;
  CallLine call("zvGetCurrentVMR");
  call.outIntegers(first, second, third);
  call.finish(present ? "document" : "null");
  return present ? vmrDocument : nullptr;
}

bool hostGetScene(SceneRecord* scene) {
  if (host == nullptr) return false;
  CallLine call("zvGetScene");
  if (host->settings.sceneUnfilled) {
    call.line().append("out unfilled");
  } else if (scene != nullptr) {
    scene->surfaceCount = host->settings.surfaceCount;
    scene->hostData = 0;
    call.line().appendFormat("out {surfaceCount %d, hostData %d}", scene->surfaceCount,
                             scene->hostData);
  } else {
    call.line().append("out null");
  }
  call.finish(1);
  return true;
}

bool hostGetCurrentSRF(SurfaceRecord* surface) {
  if (host == nullptr) return false;
  CallLine call("zvGetCurrentSRF");
  if (surface == nullptr) {
    call.line().append("out null");
    call.finish(0);
    return false;
  }
  const HostSurface& current = host->surface;
  const RecordFill fill = host->settings.recordFill;
  if (fill == RecordFill::kNothing) {
    call.line().append("out unfilled");
    call.finish(1);
    return true;
  }
  fillSurfaceRecord(current, surface);
  if (fill == RecordFill::kNoVertices) surface->vertexCount = 0;
  if (fill == RecordFill::kNoVertices || fill == RecordFill::kNoColors) {
    surface->vertexColors = nullptr;
  }
  if (fill == RecordFill::kNoFileName) surface->fileName = nullptr;
  GrowingText& line = call.line();
  line.appendFormat("out {vertexCount %d, triangleCount %d, vertexColors %s", surface->vertexCount,
                    surface->triangleCount,
                    surface->vertexColors != nullptr ? "host array" : "null");
  line.appendFormat(", visible %d, renderMode %d", surface->visible, surface->renderMode);
  appendTriple(&line, "convexColor", current.convexColor);
  appendTriple(&line, "concaveColor", current.concaveColor);
  appendTriple(&line, "meshCenter", current.meshCenter);
  appendTriple(&line, "meshRotation", current.meshRotation);
  line.appendFormat(", useStrips %d, stripElementCount %d, fileName ", surface->useStrips,
                    surface->stripElementCount);
  appendQuoted(&line, surface->fileName);
  line.appendChar('}');
  call.finish(1);
  return true;
}

bool hostSaveCurrentSRF(const char* fileName) {
  if (host == nullptr) return false;
  bool saved = false;
  if (fileName != nullptr) {
    GrowingText error;
    saved = saveSurfaceFile(host->surface, fileName, &error);
    if (!saved) {
      traceHost("%s", error.text());
      fprintf(stderr, "Zandrovix.exe: %s\n", error.text());
    }
  }
  CallLine call("zvSaveCurrentSRF");
  call.text(fileName);
  call.finish(saved ? 1 : 0);
  return saved;
}

intptr_t hostUnexpectedCall(const char* name) {
  if (host != nullptr) ++host->unexpectedCalls;
  GrowingText line;
  line.append(name);
  line.append("() -- unexpected call");
  writeTraceLine(line);
  return 0;
}

}  // namespace standin
