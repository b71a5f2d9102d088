#pragma once

#include "host/host_records.h"

// Menu function 1: logs the vertex count and both curvature colours, asks
// for a range of vertices and a colour, stores 0x3F000000 plus the colour
// number into the host's colour array for every vertex of the range that
// exists, has the host redraw, and offers to save the surface under a new
// name. A cancelled colour input changes nothing and ends it quietly. A host
// without the entries that saving needs still gets the painting and the
// redraw, then a log line naming the missing entry instead of the offer.
void changeVertexColors(const SurfaceRecord& surface);
