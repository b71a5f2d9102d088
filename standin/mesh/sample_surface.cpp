// The built-in sample surface: a sphere made by subdividing an icosahedron,
// so that the stand-in runs with no files at all.

#include "standin/mesh/sample_surface.h"

#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

namespace standin {

namespace {

const char* const kSampleFileName = "Facetkit_sample.srf";
const int kSubdivisions = 6;
const double kRadius = 60.0;

const int kIcosahedronVertexCount = 12;
const int kIcosahedronTriangleCount = 20;
const int32_t kIcosahedronTriangles[kIcosahedronTriangleCount * 3] = {
    0, 11, 5,  0, 5,  1, 0, 1, 7, 0, 7,  10, 0, 10, 11, 1, 5, 9, 5, 11,
    4, 11, 10, 2, 10, 7, 6, 7, 1, 8, 3,  9,  4, 3,  4,  2, 3, 2, 6, 3,
    6, 8,  3,  8, 9,  4, 9, 5, 2, 4, 11, 6,  2, 10, 8,  6, 7, 9, 8, 1};

// Edge midpoints already made in the current subdivision step: open
// addressing over the key (lower index, higher index).
class MidpointTable {
 public:
  explicit MidpointTable(size_t edges) {
    while (capacity_ < edges * 2) capacity_ *= 2;
    keys_ = static_cast<uint64_t*>(malloc(capacity_ * sizeof(uint64_t)));
    values_ = static_cast<int32_t*>(malloc(capacity_ * sizeof(int32_t)));
    if (keys_ != nullptr) memset(keys_, 0xFF, capacity_ * sizeof(uint64_t));
  }
  ~MidpointTable() {
    free(keys_);
    free(values_);
  }
  MidpointTable(const MidpointTable&) = delete;
  MidpointTable& operator=(const MidpointTable&) = delete;

  bool usable() const { return keys_ != nullptr && values_ != nullptr; }

  // The slot of edge (a, b); `*found` tells whether it holds a midpoint.
  size_t slot(int32_t a, int32_t b, bool* found) {
    uint32_t low = static_cast<uint32_t>(a < b ? a : b);
    uint32_t high = static_cast<uint32_t>(a < b ? b : a);
    uint64_t key = (static_cast<uint64_t>(low) << 32) | high;
    size_t at = static_cast<size_t>((key * 0x9E3779B97F4A7C15ULL) >> 32) & (capacity_ - 1);
    while (keys_[at] != kEmpty && keys_[at] != key) at = (at + 1) & (capacity_ - 1);
    *found = keys_[at] == key;
    keys_[at] = key;
    return at;
  }
  int32_t& value(size_t slot) { return values_[slot]; }

 private:
  static constexpr uint64_t kEmpty = ~0ULL;
  size_t capacity_ = 16;
  uint64_t* keys_ = nullptr;
  int32_t* values_ = nullptr;
};

void normalise(double* point) {
  double length = sqrt(point[0] * point[0] + point[1] * point[1] + point[2] * point[2]);
  for (int axis = 0; axis < 3; ++axis) point[axis] /= length;
}

// Splits every triangle of `triangles` in four, adding one unit vector per
// edge to `points`. Returns the new triangle list, or null.
int32_t* subdivide(double* points, int32_t* pointCount, const int32_t* triangles,
                   int32_t triangleCount) {
  int32_t* result =
      static_cast<int32_t*>(malloc(static_cast<size_t>(triangleCount) * 4 * 3 * sizeof(int32_t)));
  MidpointTable midpoints(static_cast<size_t>(triangleCount) * 3 / 2);
  if (result == nullptr || !midpoints.usable()) {
    free(result);
    return nullptr;
  }
  int32_t* out = result;
  for (int32_t triangle = 0; triangle < triangleCount; ++triangle) {
    const int32_t* corner = triangles + triangle * 3;
    int32_t middle[3];
    for (int side = 0; side < 3; ++side) {
      int32_t a = corner[side];
      int32_t b = corner[(side + 1) % 3];
      bool found = false;
      size_t slot = midpoints.slot(a, b, &found);
      if (!found) {
        double* point = points + *pointCount * 3;
        for (int axis = 0; axis < 3; ++axis)
          point[axis] = points[a * 3 + axis] + points[b * 3 + axis];
        normalise(point);
        midpoints.value(slot) = (*pointCount)++;
      }
      middle[side] = midpoints.value(slot);
    }
    const int32_t children[12] = {corner[0], middle[0], middle[2], corner[1], middle[1], middle[0],
                                  corner[2], middle[2], middle[1], middle[0], middle[1], middle[2]};
    memcpy(out, children, sizeof(children));
    out += 12;
  }
  return result;
}

}  // namespace

bool buildSampleSurface(HostSurface* surface) {
  int32_t finalTriangles = kIcosahedronTriangleCount;
  for (int step = 0; step < kSubdivisions; ++step) finalTriangles *= 4;
  int32_t finalVertices = finalTriangles / 2 + 2;

  double* points =
      static_cast<double*>(malloc(static_cast<size_t>(finalVertices) * 3 * sizeof(double)));
  int32_t* triangles = static_cast<int32_t*>(malloc(sizeof(kIcosahedronTriangles)));
  if (points == nullptr || triangles == nullptr) {
    free(points);
    free(triangles);
    return false;
  }
  const double golden = (1.0 + sqrt(5.0)) / 2.0;
  const double corners[kIcosahedronVertexCount * 3] = {
      -1, golden, 0, 1, golden,  0, -1, -golden, 0, 1, -golden, 0,      0,
      -1, golden, 0, 1, golden,  0, -1, -golden, 0, 1, -golden, golden, 0,
      -1, golden, 0, 1, -golden, 0, -1, -golden, 0, 1};
  memcpy(points, corners, sizeof(corners));
  for (int vertex = 0; vertex < kIcosahedronVertexCount; ++vertex) normalise(points + vertex * 3);
  memcpy(triangles, kIcosahedronTriangles, sizeof(kIcosahedronTriangles));
  int32_t pointCount = kIcosahedronVertexCount;
  int32_t triangleCount = kIcosahedronTriangleCount;

  for (int step = 0; step < kSubdivisions && triangles != nullptr; ++step) {
    int32_t* finer = subdivide(points, &pointCount, triangles, triangleCount);
    free(triangles);
    triangles = finer;
    triangleCount *= 4;
  }
  bool made = triangles != nullptr && pointCount == finalVertices &&
              allocateSurface(surface, pointCount, triangleCount) &&
              setSurfaceFileName(surface, kSampleFileName);
  if (made) {
    setSampleDisplayFields(surface);
    for (int32_t vertex = 0; vertex < pointCount; ++vertex) {
      for (int axis = 0; axis < 3; ++axis) {
        surface->positions[vertex * 3 + axis] =
            static_cast<float>(surface->meshCenter[axis] + kRadius * points[vertex * 3 + axis]);
      }
      surface->colors[vertex] =
          surface->positions[vertex * 3 + 2] >= surface->meshCenter[2] ? 0 : 1;
    }
    memcpy(surface->triangles, triangles, static_cast<size_t>(triangleCount) * 3 * sizeof(int32_t));
  } else {
    releaseSurface(surface);
  }
  free(points);
  free(triangles);
  return made;
}

}  // namespace standin
