#pragma once

// The built-in sample surface, so that the stand-in runs with no files.

#include "standin/mesh/host_surface.h"

namespace standin {

// Builds the sample surface: an icosahedron subdivided six times (40962
// vertices, 81920 triangles) on a sphere of radius 60 around the centre,
// with colour 0 for vertices at or above the centre's z and 1 below, and
// the file name "Facetkit_sample.srf". The same bytes on every run.
bool buildSampleSurface(HostSurface* surface);

}  // namespace standin
