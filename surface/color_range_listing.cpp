#include "surface/color_range_listing.h"

#include <stdio.h>

#include "host/host_function_table.h"
#include "surface/vertex_range.h"

namespace {

const char* const kVertexLine = "Vertex: %d, value: %d";

const HostEntry kListingNeeds[] = {HostEntry::zvGetIntegerInput, HostEntry::zvLogText};

}  // namespace

void printColorRange(const SurfaceRecord& surface) {
  if (!hostProvides(kListingNeeds)) return;
  if (!surfaceHasVertices(surface)) {
    reportNoVertices();
    return;
  }
  VertexRange range = askVertexRange(surface);
  char line[kHostTextSize];
  for (int32_t vertex = range.first; vertex <= range.last; ++vertex) {
    snprintf(line, sizeof(line), kVertexLine, static_cast<int>(vertex),
             static_cast<int>(surface.vertexColors[vertex]));
    hostFunctions.zvLogText(line);
  }
}
