#include "surface/vertex_color_editing.h"

#include <stdio.h>

#include "host/host_function_table.h"
#include "platform/c_locale_format.h"
#include "surface/hex_color_converter.h"
#include "surface/vertex_color_value.h"
#include "surface/vertex_range.h"

namespace {

const char* const kVertexCountLine = "Number of vertices: %d";
const char* const kConvexLine = "Current convex components: R: %f, G: %f, B: %f";
const char* const kConcaveLine = "Current concave components: R: %f, G: %f, B: %f";
const char* const kColorsNotFormatted =
    "Facetkit> The colours could not be written as text; action cancelled.";
const char* const kRangeMessage =
    "Please specify the range of vertices that should get a new color (number of vertices: "
    "%d)...";
const char* const kSaveQuestion = "Would you like to save the changes in a SRF file?";
const char* const kSaveTitle = "Please enter the new SRF file name";
const char* const kSurfaceFilter = "Surface files (*.srf)";

const char* const kSavingNotAvailable =
    "Facetkit> Zandrovix does not provide %s; saving is not available.";

// What painting needs, checked before anything is shown, so that the
// function never stops half-way for want of a host function.
const HostEntry kEditingNeeds[] = {HostEntry::zvLogText, HostEntry::zvMessageBox,
                                   HostEntry::zvGetIntegerInput, HostEntry::zvGetTextInput,
                                   HostEntry::zvUpdateActiveWindow};

// What offering to save needs; without it the colours are still painted.
const HostEntry kSaveNeeds[] = {HostEntry::zvYesNoMessageBox, HostEntry::zvGetZandrovixPath,
                                HostEntry::zvGetSaveFileName, HostEntry::zvSaveCurrentSRF};

// Logs `color` in `format`. Returns false, having logged nothing, when the
// numbers could not be formatted.
bool logColor(const char* format, const ColorRgb& color) {
  char line[kHostTextSize];
  if (formatInCLocale(line, sizeof(line), format, static_cast<double>(color.red),
                      static_cast<double>(color.green), static_cast<double>(color.blue)) < 0) {
    return false;
  }
  hostFunctions.zvLogText(line);
  return true;
}

// Offers to save when the host can, and otherwise logs which entry it lacks.
void offerToSave() {
  for (HostEntry entry : kSaveNeeds) {
    if (hostEntryPresent(entry)) continue;
    char line[kHostTextSize];
    snprintf(line, sizeof(line), kSavingNotAvailable, hostEntryName(entry));
    hostFunctions.zvLogText(line);
    return;
  }
  if (hostFunctions.zvYesNoMessageBox(kSaveQuestion) == 0) return;
  char hostPath[kHostTextSize] = {};
  char fileName[kHostTextSize] = {};
  hostFunctions.zvGetZandrovixPath(hostPath);
  hostPath[kHostTextSize - 1] = '\0';
  if (hostFunctions.zvGetSaveFileName(kSaveTitle, hostPath, kSurfaceFilter, fileName) <= 0) {
    return;
  }
  fileName[kHostTextSize - 1] = '\0';
  hostFunctions.zvSaveCurrentSRF(fileName);
}

}  // namespace

void changeVertexColors(const SurfaceRecord& surface) {
  if (!hostProvides(kEditingNeeds)) return;
  char line[kHostTextSize];
  snprintf(line, sizeof(line), kVertexCountLine, static_cast<int>(surface.vertexCount));
  hostFunctions.zvLogText(line);
  if (!logColor(kConvexLine, surface.convexColor) ||
      !logColor(kConcaveLine, surface.concaveColor)) {
    hostFunctions.zvLogText(kColorsNotFormatted);
    return;
  }
  if (!surfaceHasVertices(surface)) {
    reportNoVertices();
    return;
  }

  snprintf(line, sizeof(line), kRangeMessage, static_cast<int>(surface.vertexCount));
  hostFunctions.zvMessageBox(line);
  VertexRange range = askVertexRange(surface);
  int32_t colour = 0;
  if (!askHexColor(&colour)) return;

  paintVertexRange(surface.vertexColors, range, vertexColorValue(colour));
  hostFunctions.zvUpdateActiveWindow();
  offerToSave();
}
