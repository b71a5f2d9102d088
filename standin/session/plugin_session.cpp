#include "standin/session/plugin_session.h"

#include <stdio.h>
#include <string.h>

#include "platform/library_loader.h"
#include "standin/base/trace.h"
#include "standin/calls/terminal_dialogs.h"

namespace standin {

// The plug-in object as the host declares it, apart from the library's own
// class: the order of the virtual functions is the contract, and the object
// ends through the virtual destructor, which returns its memory to the
// library's allocator. The host never makes such an object itself. Not in an
// unnamed namespace: a compiler may take a class there, with no derived class
// in this file, for one whose virtual functions are never reached.
class PluginObject {
 public:
  virtual ~PluginObject() {}
  virtual bool execute() = 0;
  virtual bool initPlugin() = 0;
};

namespace {

using TextExport = const char* (*)();
using CreateExport = PluginObject* (*)();

const char* const kTextExports[] = {"getPluginName", "getPluginDescription", "getAuthor",
                                    "getHelpFile", "getGUIScript"};
const char* const kCreateExport = "createPlugin";

void setupError(const char* format, const char* first, const char* second) {
  GrowingText message;
  message.appendFormat(format, first, second);
  traceHost("error: %s", message.text());
  fprintf(stderr, "Zandrovix.exe: %s\n", message.text());
}

const char* fileNameOf(const char* path) {
  const char* name = path;
  for (const char* at = path; *at != '\0'; ++at) {
    if (*at == '/' || *at == '\\') name = at + 1;
  }
  return name;
}

bool startsWith(const char* text, const char* start) {
  return strncmp(text, start, strlen(start)) == 0;
}

bool endsWith(const char* text, const char* end) {
  size_t length = strlen(text);
  size_t endLength = strlen(end);
  return length >= endLength && strcmp(text + length - endLength, end) == 0;
}

// The library's name without the platform's file name decoration
// ("libFacetkit.so" and "Facetkit.dll" are both "Facetkit"), so that traces
// of one session agree across platforms; an undecorated file name as it is.
void appendLibraryName(GrowingText* line, const char* path) {
  const char* fileName = fileNameOf(path);
  size_t length = strlen(fileName);
  size_t prefixLength = strlen(kLibraryFilePrefix);
  size_t suffixLength = strlen(kLibraryFileSuffix);
  if (length > prefixLength + suffixLength && startsWith(fileName, kLibraryFilePrefix) &&
      endsWith(fileName, kLibraryFileSuffix)) {
    line->append(fileName + prefixLength, length - prefixLength - suffixLength);
  } else {
    line->append(fileName);
  }
}

void traceVertices(const Options& options, const HostSurface& surface) {
  for (int range = 0; range < options.shownRanges; ++range) {
    int last = options.lastVertex[range] < surface.vertexCount ? options.lastVertex[range]
                                                               : surface.vertexCount - 1;
    for (int vertex = options.firstVertex[range]; vertex <= last; ++vertex) {
      traceHost("vertex %d = %d", vertex, surface.colors[vertex]);
    }
  }
}

void runObject(PluginObject* object, const Options& options, HostState* state) {
  bool ready = true;
  if (options.skipInit) {
    traceHost("initPlugin skipped");
  } else {
    traceHost("initPlugin");
    ready = object->initPlugin();
    traceHost("initPlugin -> %d", ready ? 1 : 0);
  }
  for (int run = 0; ready && run < options.runs; ++run) {
    traceHost("execute");
    bool executed = object->execute();
    traceHost("execute -> %d", executed ? 1 : 0);
  }
  traceVertices(options, state->surface);
  traceHost("delete object");
  delete object;
}

}  // namespace

bool runPluginSession(const char* path, const Options& options, HostState* state) {
  GrowingText loadLine;
  loadLine.append("host: load ");
  appendLibraryName(&loadLine, path);
  writeTraceLine(loadLine);
  LibraryHandle library = openLibrary(path);
  if (library == nullptr) {
    setupError("cannot load the plug-in \"%s\": %s", path, libraryError());
    return false;
  }
  TextExport texts[sizeof(kTextExports) / sizeof(kTextExports[0])] = {};
  bool complete = true;
  for (size_t index = 0; index < sizeof(kTextExports) / sizeof(kTextExports[0]); ++index) {
    texts[index] = reinterpret_cast<TextExport>(findLibrarySymbol(library, kTextExports[index]));
    if (texts[index] == nullptr) {
      setupError("the plug-in does not export %s%s", kTextExports[index], "");
      complete = false;
    }
  }
  CreateExport create = reinterpret_cast<CreateExport>(findLibrarySymbol(library, kCreateExport));
  if (create == nullptr) {
    setupError("the plug-in does not export %s%s", kCreateExport, "");
    complete = false;
  }
  if (complete) {
    for (size_t index = 0; index < sizeof(kTextExports) / sizeof(kTextExports[0]); ++index) {
      GrowingText line;
      line.appendFormat("host: %s -> ", kTextExports[index]);
      appendQuoted(&line, texts[index]());
      writeTraceLine(line);
    }
    if (state->script == nullptr) terminalPluginBanner(texts[0](), texts[2](), texts[1]());
    PluginObject* object = create();
    traceHost("createPlugin -> %s", object != nullptr ? "object" : "null");
    if (object != nullptr) {
      runObject(object, options, state);
    } else {
      setupError("createPlugin made no object%s%s", "", "");
      complete = false;
    }
  }
  traceHost("unload");
  closeLibrary(library);
  return complete;
}

}  // namespace standin
