#include "surface/surface_header_report.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "host/host_function_table.h"
#include "platform/bounded_text.h"
#include "platform/text_file.h"

const char* const kNoSurfaceContent = "No SRF content present.\n";

namespace {

const char* const kFormatFailed = "Error while printing current SRF header data to ascii";
const char* const kHeaderSaved =
    "Header information of file saved to text.\nIt is located in the same folder as the surface "
    "file.";
// Followed by the text file's name (its base, then the suffix) and a dot.
const char kHeaderNotSaved[] = "Header information could not be written to the text file %.*s%s.";
// Two single quotes: stand in for a file name that the record lacks.
const char* const kTwoQuotes = "''";
const char* const kTextSuffix = ".txt";

// The working buffer holds this much besides the file name, far more than
// the other thirteen lines can take.
constexpr size_t kReportBufferSize = 65534;

void logLine(const char* text) {
  if (hostEntryPresent(HostEntry::zvLogText)) hostFunctions.zvLogText(text);
}

// Builds the report; false when a piece failed to format or fit. A piece
// that fails ends the building, so the result is checked once, at the end.
bool formatReport(BoundedText& text, const SurfaceRecord& surface, const char* fileName) {
  text.append("\nSRF filename: \n%s\n", fileName);
  text.append("Number of vertices: %d\n", static_cast<int>(surface.vertexCount));
  text.append("Number of triangles: %d\n", static_cast<int>(surface.triangleCount));
  text.append("Mesh center: X: %f, Y: %f, Z: %f\n", static_cast<double>(surface.meshCenter.x),
              static_cast<double>(surface.meshCenter.y), static_cast<double>(surface.meshCenter.z));
  text.append("Visible: %d\n", static_cast<int>(surface.visible));
  text.appendText("Mesh curvature colors: \n");
  text.append("Concave red: %f, green: %f, blue: %f\n",
              static_cast<double>(surface.concaveColor.red),
              static_cast<double>(surface.concaveColor.green),
              static_cast<double>(surface.concaveColor.blue));
  text.append("Convex red: %f, green: %f, blue: %f\n", static_cast<double>(surface.convexColor.red),
              static_cast<double>(surface.convexColor.green),
              static_cast<double>(surface.convexColor.blue));
  text.append("Mesh rotation X: %f, Y: %f, Z: %f\n", static_cast<double>(surface.meshRotation.x),
              static_cast<double>(surface.meshRotation.y),
              static_cast<double>(surface.meshRotation.z));
  text.append("Number of triangle strip elements: %d\nUse strips: %d\n",
              static_cast<int>(surface.stripElementCount), static_cast<int>(surface.useStrips));
  text.append("Render mode: %d\n", static_cast<int>(surface.renderMode));
  return text.complete();
}

// Where the extension of `fileName` starts: its last dot after the last
// folder separator, or its end when its own name has no dot.
size_t baseLength(const char* fileName) {
  size_t length = strlen(fileName);
  size_t base = length;
  for (size_t index = length; index > 0; --index) {
    char character = fileName[index - 1];
    if (character == '\\' || character == '/') break;
    if (character == '.') {
      base = index - 1;
      break;
    }
  }
  return base;
}

// The name used for a record without a file name text.
const char* nameOrNone(const char* fileName) {
  return fileName == nullptr || fileName[0] == '\0' ? kTwoQuotes : fileName;
}

// Logs that the text file of the surface file `fileName` was not written,
// naming the text file. Needs no memory of the text file's name: the line is
// put together from the surface file's name, on the heap when it is long;
// when that memory cannot be had, the report's own error line is logged.
void reportNotWritten(const char* fileName) {
  if (!hostEntryPresent(HostEntry::zvLogText)) return;
  const char* name = nameOrNone(fileName);
  const size_t base = baseLength(name);
  const int shownBase = base > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(base);
  const size_t size = sizeof(kHeaderNotSaved) + base + strlen(kTextSuffix);
  char fixedLine[kHostTextSize];
  char* line = size <= sizeof(fixedLine) ? fixedLine : static_cast<char*>(malloc(size));
  if (line == nullptr) {
    // A line cut short would name another file: say what failed without it.
    hostFunctions.zvLogText(kFormatFailed);
    return;
  }
  snprintf(line, size, kHeaderNotSaved, shownBase, name, kTextSuffix);
  hostFunctions.zvLogText(line);
  if (line != fixedLine) free(line);
}

}  // namespace

const char* formatSurfaceHeader(const SurfaceRecord* surface) {
  if (surface == nullptr) return kNoSurfaceContent;
  const char* fileName = surface->fileName != nullptr ? surface->fileName : "";
  const size_t capacity = kReportBufferSize + strlen(fileName);
  char* buffer = static_cast<char*>(calloc(capacity, 1));
  if (buffer == nullptr) {
    logLine(kFormatFailed);
    return nullptr;
  }
  BoundedText text(buffer, capacity);
  if (!formatReport(text, *surface, fileName)) {
    free(buffer);
    logLine(kFormatFailed);
    return nullptr;
  }
  // Shrinking cannot lose the text: when it fails the larger buffer stays.
  char* report = static_cast<char*>(realloc(buffer, text.length() + 1));
  return report != nullptr ? report : buffer;
}

void releaseSurfaceHeader(const char* report) {
  if (report == nullptr || report == kNoSurfaceContent) return;
  free(const_cast<char*>(report));
}

char* stripExtension(const char* fileName) {
  fileName = nameOrNone(fileName);
  const size_t length = strlen(fileName);
  char* base = static_cast<char*>(calloc(length + 4, 1));
  if (base == nullptr) return nullptr;
  memcpy(base, fileName, baseLength(fileName));
  return base;
}

char* replaceExtension(const char* fileName, const char* suffix) {
  char* base = stripExtension(fileName);
  if (base == nullptr) return nullptr;
  const size_t baseSize = strlen(base);
  const size_t suffixSize = strlen(suffix);
  char* name = static_cast<char*>(malloc(baseSize + suffixSize + 1));
  if (name != nullptr) {
    memcpy(name, base, baseSize);
    memcpy(name + baseSize, suffix, suffixSize + 1);
  }
  free(base);
  return name;
}

void writeSurfaceHeaderFile(const SurfaceRecord& surface, const char* report) {
  if (report == nullptr) {
    reportNotWritten(surface.fileName);
    return;
  }
  char* textFileName = replaceExtension(surface.fileName, kTextSuffix);
  if (textFileName == nullptr) {
    reportNotWritten(surface.fileName);
    return;
  }
  // A surface file whose own extension is ".txt" would be overwritten by its
  // header; it is left alone.
  const bool written = !namesSameFile(textFileName, nameOrNone(surface.fileName)) &&
                       replaceTextFile(textFileName, report, strlen(report));
  free(textFileName);
  if (written) {
    logLine(kHeaderSaved);
  } else {
    reportNotWritten(surface.fileName);
  }
}
