// The shape of a surface as the pictures need it: a normal per vertex for
// the lighting, and whether the mesh is convex or concave there for the
// curvature colours.

#include "standin/mesh/surface_shape.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

namespace standin {

namespace {

bool validTriangle(const int32_t* corner, int32_t vertexCount) {
  for (int side = 0; side < 3; ++side) {
    if (corner[side] < 0 || corner[side] >= vertexCount) return false;
  }
  return true;
}

// Adds each triangle's normal, as long as twice its area, to its three
// corners, and makes the sums unit vectors. In double precision, so that
// the products of coordinates near the largest float do not overflow.
bool computeNormals(const HostSurface& surface, float* normals) {
  size_t vertices = surface.vertexCount > 0 ? static_cast<size_t>(surface.vertexCount) : 0;
  double* sums = static_cast<double*>(calloc(vertices > 0 ? vertices * 3 : 1, sizeof(double)));
  if (sums == nullptr) return false;
  for (int32_t triangle = 0; triangle < surface.triangleCount; ++triangle) {
    const int32_t* corner = surface.triangles + static_cast<size_t>(triangle) * 3;
    if (!validTriangle(corner, surface.vertexCount)) continue;
    const float* a = surface.positions + static_cast<size_t>(corner[0]) * 3;
    const float* b = surface.positions + static_cast<size_t>(corner[1]) * 3;
    const float* c = surface.positions + static_cast<size_t>(corner[2]) * 3;
    double u[3], v[3];
    for (int axis = 0; axis < 3; ++axis) {
      u[axis] = static_cast<double>(b[axis]) - a[axis];
      v[axis] = static_cast<double>(c[axis]) - a[axis];
    }
    double normal[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                        u[0] * v[1] - u[1] * v[0]};
    if (!isfinite(normal[0]) || !isfinite(normal[1]) || !isfinite(normal[2])) continue;
    for (int side = 0; side < 3; ++side) {
      double* sum = sums + static_cast<size_t>(corner[side]) * 3;
      for (int axis = 0; axis < 3; ++axis) sum[axis] += normal[axis];
    }
  }
  for (size_t vertex = 0; vertex < vertices; ++vertex) {
    const double* sum = sums + vertex * 3;
    double length = sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
    for (int axis = 0; axis < 3; ++axis) {
      // A vertex in no triangle, or whose normals cancel, gets none.
      normals[vertex * 3 + static_cast<size_t>(axis)] =
          length > 0.0 && isfinite(length) ? static_cast<float>(sum[axis] / length) : 0.0f;
    }
  }
  free(sums);
  return true;
}

// Sums, for every vertex, the positions of the far ends of the triangle
// sides that meet there. A side shared by two triangles counts twice, so
// every neighbour of a closed mesh weighs the same.
void sumNeighbours(const HostSurface& surface, double* sums, int32_t* counts) {
  for (int32_t triangle = 0; triangle < surface.triangleCount; ++triangle) {
    const int32_t* corner = surface.triangles + static_cast<size_t>(triangle) * 3;
    if (!validTriangle(corner, surface.vertexCount)) continue;
    for (int side = 0; side < 3; ++side) {
      int32_t from = corner[side];
      for (int other = 1; other < 3; ++other) {
        int32_t to = corner[(side + other) % 3];
        const float* end = surface.positions + static_cast<size_t>(to) * 3;
        double* sum = sums + static_cast<size_t>(from) * 3;
        for (int axis = 0; axis < 3; ++axis) sum[axis] += end[axis];
        // Two per triangle: saturates for a vertex in over 2^30 triangles.
        if (counts[from] < INT32_MAX) ++counts[from];
      }
    }
  }
}

}  // namespace

bool computeSurfaceShape(const HostSurface& surface, SurfaceShape* shape) {
  releaseSurfaceShape(shape);
  size_t vertices = surface.vertexCount > 0 ? static_cast<size_t>(surface.vertexCount) : 0;
  size_t elements = vertices > 0 ? vertices : 1;
  shape->normals = static_cast<float*>(calloc(elements * 3, sizeof(float)));
  shape->convex = static_cast<uint8_t*>(calloc(elements, 1));
  double* sums = static_cast<double*>(calloc(elements * 3, sizeof(double)));
  int32_t* counts = static_cast<int32_t*>(calloc(elements, sizeof(int32_t)));
  bool made =
      shape->normals != nullptr && shape->convex != nullptr && sums != nullptr && counts != nullptr;
  if (made) {
    shape->vertexCount = surface.vertexCount > 0 ? surface.vertexCount : 0;
    made = computeNormals(surface, shape->normals);
  }
  if (made) {
    sumNeighbours(surface, sums, counts);
    for (size_t vertex = 0; vertex < vertices; ++vertex) {
      const float* position = surface.positions + vertex * 3;
      const float* normal = shape->normals + vertex * 3;
      double along = 0.0;
      for (int axis = 0; axis < 3 && counts[vertex] > 0; ++axis) {
        double mean = sums[vertex * 3 + static_cast<size_t>(axis)] / counts[vertex];
        along += (position[axis] - mean) * normal[axis];
      }
      // A NaN (from a coordinate that is not finite) counts as convex.
      shape->convex[vertex] = along < 0.0 ? 0 : 1;
    }
  }
  free(sums);
  free(counts);
  if (!made) releaseSurfaceShape(shape);
  return made;
}

void releaseSurfaceShape(SurfaceShape* shape) {
  free(shape->normals);
  free(shape->convex);
  *shape = SurfaceShape();
}

}  // namespace standin
