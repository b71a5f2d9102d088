#include "surface/surface_header_file.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "host/host_function_table.h"
#include "platform/text_file.h"
#include "surface/surface_header_report.h"
#include "surface/text_file_name.h"

namespace {

const char* const kHeaderSaved =
    "Header information of file saved to text.\nIt is located in the same folder as the surface "
    "file.";
// Followed by the text file's name (its base, then the suffix) and a dot.
const char kHeaderNotSaved[] = "Header information could not be written to the text file %.*s%s.";
const char* const kTextSuffix = ".txt";

// Logs that the text file of the surface file `fileName` was not written,
// naming the text file. Needs no memory of the text file's name: the line is
// put together from the surface file's name, on the heap when it is long;
// when that memory cannot be had, the report's own error line is logged.
void reportNotWritten(const char* fileName) {
  if (!hostEntryPresent(HostEntry::zvLogText)) return;
  const char* name = nameOrTwoQuotes(fileName);
  const size_t base = extensionStart(name);
  const int shownBase = base > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(base);
  const size_t size = sizeof(kHeaderNotSaved) + base + strlen(kTextSuffix);
  char fixedLine[kHostTextSize];
  char* line = size <= sizeof(fixedLine) ? fixedLine : static_cast<char*>(malloc(size));
  if (line == nullptr) {
    // A line cut short would name another file: say what failed without it.
    hostFunctions.zvLogText(kReportFailed);
    return;
  }
  snprintf(line, size, kHeaderNotSaved, shownBase, name, kTextSuffix);
  hostFunctions.zvLogText(line);
  if (line != fixedLine) free(line);
}

}  // namespace

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
  const bool written = !namesSameFile(textFileName, nameOrTwoQuotes(surface.fileName)) &&
                       replaceTextFile(textFileName, report, strlen(report));
  free(textFileName);
  if (!written) {
    reportNotWritten(surface.fileName);
  } else if (hostEntryPresent(HostEntry::zvLogText)) {
    hostFunctions.zvLogText(kHeaderSaved);
  }
}

void saveSurfaceHeader(const SurfaceRecord& surface) {
  const char* report = formatSurfaceHeader(&surface);
  writeSurfaceHeaderFile(surface, report);
  releaseSurfaceHeader(report);
}
