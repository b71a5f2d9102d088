#pragma once

// The shape of a surface at each vertex: its normal, for lighting, and
// whether the mesh bulges out or dents in there, for the curvature colours.

#include <stdint.h>

#include "standin/mesh/host_surface.h"

namespace standin {

// What the picture needs of a surface's shape, computed once per surface
// since the plug-in changes colours, never the mesh.
struct SurfaceShape {
  int32_t vertexCount = 0;
  // Unit normal of each vertex (x, y, z), the area-weighted mean of its
  // triangles' normals; zero for a vertex in no triangle.
  float* normals = nullptr;
  // 1 where the mesh is convex at the vertex, 0 where it is concave.
  uint8_t* convex = nullptr;
};

// Computes `shape` for `surface`, after releasing what it held. A vertex is
// convex when it lies on the side of its normal of the mean of its
// neighbours, or level with it; a vertex without neighbours counts as convex.
// Triangles with an index outside the vertices are left out. Returns false
// when memory runs out, leaving `shape` empty.
bool computeSurfaceShape(const HostSurface& surface, SurfaceShape* shape);

// Gives back the shape's memory and leaves it empty.
void releaseSurfaceShape(SurfaceShape* shape);

}  // namespace standin
