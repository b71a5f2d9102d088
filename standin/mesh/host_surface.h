#pragma once

// The stand-in host's current surface: the mesh, the per-vertex colour
// values that the plug-in writes into, and every field of the surface record.

#include <stdint.h>

struct SurfaceRecord;

namespace standin {

// Which half of the brain a surface holds; it decides the side that the
// `lateral` and `medial` views look from.
enum class Hemisphere : int8_t { kUnknown, kLeft, kRight };

struct HostSurface {
  int32_t vertexCount = 0;
  int32_t triangleCount = 0;
  // x, y, z of each vertex.
  float* positions = nullptr;
  // Three vertex indexes per triangle.
  int32_t* triangles = nullptr;
  // One value per vertex, exactly, ending at an unreadable page; never null
  // once the surface is made, even with no vertices (then the address of
  // that page), since the record hands the address to the plug-in.
  int32_t* colors = nullptr;
  int32_t visible = 0;
  int32_t renderMode = 0;
  float convexColor[3] = {0, 0, 0};
  float concaveColor[3] = {0, 0, 0};
  float meshCenter[3] = {0, 0, 0};
  float meshRotation[3] = {0, 0, 0};
  int32_t useStrips = 0;
  int32_t stripElementCount = 0;
  // The surface file's name; the host's own text.
  char* fileName = nullptr;
  // The hemisphere that the surface file names (GIfTI metadata, a FreeSurfer
  // file name); kUnknown when it names none.
  Hemisphere hemisphere = Hemisphere::kUnknown;
  // Set when the display fields were made for this mesh, for a FreeSurfer or
  // GIfTI file that holds none: such a surface is looked at from its lateral
  // side by default, not by the record's rotation.
  bool ownDisplayFields = false;
};

// Gives back the surface's memory and leaves it empty.
void releaseSurface(HostSurface* surface);

// Makes room for `vertexCount` vertices and `triangleCount` triangles
// (positions, colours and triangles zeroed), after releasing what
// `surface` held. Returns false when memory runs out or a count is negative.
bool allocateSurface(HostSurface* surface, int32_t vertexCount, int32_t triangleCount);

// Replaces the surface's file name with a copy of `fileName`.
bool setSurfaceFileName(HostSurface* surface, const char* fileName);

// Sets the record fields that describe a display, not the mesh, to the
// sample surface's values: visible 1, render mode 2, convex colour
// (0.25, 0.5, 0.75), concave colour (1, 0.5, 0), centre (128, 128, 128),
// rotation (0, 90, -45.5), no strips.
void setSampleDisplayFields(HostSurface* surface);

// Fills all 168 bytes of `record` from `surface`: the reserved bytes zero,
// the colour array and file name the surface's own.
void fillSurfaceRecord(const HostSurface& surface, SurfaceRecord* record);

}  // namespace standin
