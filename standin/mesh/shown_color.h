#pragma once

// The colour a vertex is shown in, the same in pictures and in the colours
// that saved files give viewers: the colour of its stored value when that
// is a colour code (host/host_color_value.h), else the surface's convex or
// concave colour by the mesh's shape at the vertex.

#include <stdint.h>

#include "standin/mesh/host_surface.h"
#include "standin/mesh/surface_shape.h"

namespace standin {

// A colour share (0 to 1) as a byte, rounded; below 0 or not a number
// gives 0, 1 and above 255.
uint8_t colorShareByte(float share);

// Writes the red, green and blue that vertex `vertex` of `surface` is shown
// in to `rgb`. `shape` must have been computed for this surface's mesh.
void shownVertexColor(const HostSurface& surface, const SurfaceShape& shape, int32_t vertex,
                      uint8_t rgb[3]);

}  // namespace standin
