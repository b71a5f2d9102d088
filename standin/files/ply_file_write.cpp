// Writing PLY files; the format is described in surface_formats.h.

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "standin/files/surface_file.h"
#include "standin/files/surface_formats.h"

namespace standin {

namespace {

const uint32_t kColorCodeTag = 0x3F000000u;
const unsigned char kConvexGrey = 176;
const unsigned char kConcaveGrey = 96;
const unsigned char kOtherGrey = 128;

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

void appendViewerColor(GrowingText* out, int32_t stored) {
  uint32_t value = static_cast<uint32_t>(stored);
  unsigned char rgb[3];
  if ((value & 0xFF000000u) == kColorCodeTag) {
    rgb[0] = static_cast<unsigned char>((value >> 16) & 0xFF);
    rgb[1] = static_cast<unsigned char>((value >> 8) & 0xFF);
    rgb[2] = static_cast<unsigned char>(value & 0xFF);
  } else {
    unsigned char grey = stored == 0 ? kConvexGrey : stored == 1 ? kConcaveGrey : kOtherGrey;
    rgb[0] = rgb[1] = rgb[2] = grey;
  }
  out->append(reinterpret_cast<const char*>(rgb), 3);
}

void appendFieldComment(GrowingText* out, const HostSurface& surface, const SurfaceField& field) {
  out->appendFormat("comment zandrovix %s", field.name);
  appendSurfaceFieldValues(out, surface, field);
  out->appendChar('\n');
}

}  // namespace

void encodeSurfacePly(const HostSurface& surface, GrowingText* out) {
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
    appendViewerColor(out, surface.colors[vertex]);
    appendUint32(out, static_cast<uint32_t>(surface.colors[vertex]));
  }
  for (int32_t triangle = 0; triangle < surface.triangleCount; ++triangle) {
    out->appendChar(3);
    const int32_t* corners = surface.triangles + static_cast<size_t>(triangle) * 3;
    for (int corner = 0; corner < 3; ++corner)
      appendUint32(out, static_cast<uint32_t>(corners[corner]));
  }
}

}  // namespace standin
