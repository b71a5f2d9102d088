// Writing PLY files; the format is described in surface_formats.h.

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "standin/files/surface_file.h"
#include "standin/files/surface_formats.h"
#include "standin/mesh/shown_color.h"

namespace standin {

namespace {

void appendUint32(GrowingText* out, uint32_t value) {
  const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                         static_cast<char>((value >> 16) & 0xFF),
                         static_cast<char>((value >> 24) & 0xFF)};
  out->append(bytes, 4);
}

void appendFloatBits(GrowingText* out, float value) {
  uint32_t bits = 0;
  memcpy(&bits, &value, sizeof(bits));
  appendUint32(out, bits);
}

void appendFieldComment(GrowingText* out, const HostSurface& surface, const SurfaceField& field) {
  out->appendFormat("comment zandrovix %s", field.name);
  appendSurfaceFieldValues(out, surface, field);
  out->appendChar('\n');
}

}  // namespace

bool encodeSurfacePly(const HostSurface& surface, GrowingText* out) {
  SurfaceShape shape;
  if (!computeSurfaceShape(surface, &shape)) return false;
  out->append("ply\nformat binary_little_endian 1.0\n");
  out->append("comment made by the stand-in host Zandrovix.exe\n");
  for (int index = 0; index < kSurfaceFieldCount; ++index) {
    appendFieldComment(out, surface, kSurfaceFields[index]);
  }
  out->appendFormat("element vertex %d\n", surface.vertexCount);
  out->append(
      "property float x\nproperty float y\nproperty float z\n"
      "property uchar red\nproperty uchar green\nproperty uchar blue\n"
      "property int zv_color\n");
  out->appendFormat("element face %d\n", surface.triangleCount);
  out->append("property list uchar int vertex_indices\nend_header\n");
  for (int32_t vertex = 0; vertex < surface.vertexCount; ++vertex) {
    const float* position = surface.positions + static_cast<size_t>(vertex) * 3;
    for (int axis = 0; axis < 3; ++axis) appendFloatBits(out, position[axis]);
    unsigned char shown[3];
    shownVertexColor(surface, shape, vertex, shown);
    out->append(reinterpret_cast<const char*>(shown), 3);
    appendUint32(out, static_cast<uint32_t>(surface.colors[vertex]));
  }
  for (int32_t triangle = 0; triangle < surface.triangleCount; ++triangle) {
    out->appendChar(3);
    const int32_t* corners = surface.triangles + static_cast<size_t>(triangle) * 3;
    for (int corner = 0; corner < 3; ++corner)
      appendUint32(out, static_cast<uint32_t>(corners[corner]));
  }
  releaseSurfaceShape(&shape);
  return true;
}

}  // namespace standin
