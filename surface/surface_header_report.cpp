#include "surface/surface_header_report.h"

#include <stdlib.h>
#include <string.h>

#include "host/host_function_table.h"
#include "platform/bounded_text.h"

const char* const kNoSurfaceContent = "No SRF content present.\n";
const char* const kReportFailed = "Error while printing current SRF header data to ascii";

namespace {

// The working buffer holds this much besides the file name: two bytes short
// of 64 KiB, the size the report has always been built in. The thirteen
// lines besides the name take a few hundred bytes even with the widest
// numbers (a float written with %f takes at most 47 characters), so the
// report always fits whole; it is shrunk to the text once built.
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

}  // namespace

const char* formatSurfaceHeader(const SurfaceRecord* surface) {
  if (surface == nullptr) return kNoSurfaceContent;
  const char* fileName = surface->fileName != nullptr ? surface->fileName : "";
  const size_t capacity = kReportBufferSize + strlen(fileName);
  char* buffer = static_cast<char*>(calloc(capacity, 1));
  if (buffer == nullptr) {
    logLine(kReportFailed);
    return nullptr;
  }
  BoundedText text(buffer, capacity);
  if (!formatReport(text, *surface, fileName)) {
    free(buffer);
    logLine(kReportFailed);
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

void logSurfaceHeader(const SurfaceRecord& surface) {
  const char* report = formatSurfaceHeader(&surface);
  if (report == nullptr) return;
  logLine(report);
  releaseSurfaceHeader(report);
}
