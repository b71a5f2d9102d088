// Telling a surface file's format from its first bytes, and the checks that
// every reader makes of the mesh it read.

#include <math.h>
#include <string.h>

#include "standin/files/surface_formats.h"

namespace standin {

namespace {

// How far into an XML file the GIfTI root element is looked for: past the
// declaration, a document type and a few comments.
const size_t kGiftiRootWindow = 4096;

bool startsWith(const unsigned char* data, size_t size, const char* prefix) {
  size_t length = strlen(prefix);
  return size >= length && memcmp(data, prefix, length) == 0;
}

bool containsWithin(const unsigned char* data, size_t size, const char* text) {
  size_t length = strlen(text);
  size_t window = size < kGiftiRootWindow ? size : kGiftiRootWindow;
  for (size_t at = 0; at + length <= window; ++at) {
    if (memcmp(data + at, text, length) == 0) return true;
  }
  return false;
}

bool isGifti(const unsigned char* data, size_t size) {
  size_t at = 0;
  if (startsWith(data, size, "\xEF\xBB\xBF")) at = 3;
  while (at < size && (data[at] == ' ' || data[at] == '\t' || data[at] == '\r' || data[at] == '\n'))
    ++at;
  if (at == size || data[at] != '<') return false;
  return containsWithin(data + at, size - at, "<GIFTI");
}

}  // namespace

SurfaceFileType detectSurfaceFileType(const unsigned char* data, size_t size) {
  if (startsWith(data, size, "\xFF\xFF\xFE")) return SurfaceFileType::kFreeSurfer;
  if (startsWith(data, size, "\xFF\xFF\xFF")) return SurfaceFileType::kFreeSurferQuad;
  if (startsWith(data, size, "ply\n") || startsWith(data, size, "ply\r\n"))
    return SurfaceFileType::kPly;
  if (isGifti(data, size)) return SurfaceFileType::kGifti;
  return SurfaceFileType::kUnknown;
}

bool nameAsksForGifti(const char* path) {
  size_t length = strlen(path);
  if (length < 4) return false;
  const char* end = path + length - 4;
  return end[0] == '.' && (end[1] == 'g' || end[1] == 'G') && (end[2] == 'i' || end[2] == 'I') &&
         (end[3] == 'i' || end[3] == 'I');
}

bool checkSurfaceMesh(const HostSurface& surface, GrowingText* error) {
  for (int32_t vertex = 0; vertex < surface.vertexCount; ++vertex) {
    const float* position = surface.positions + static_cast<size_t>(vertex) * 3;
    if (!isfinite(position[0]) || !isfinite(position[1]) || !isfinite(position[2])) {
      error->appendFormat("vertex %d has a coordinate that is not a finite number", vertex);
      return false;
    }
  }
  for (int32_t triangle = 0; triangle < surface.triangleCount; ++triangle) {
    const int32_t* corners = surface.triangles + static_cast<size_t>(triangle) * 3;
    for (int corner = 0; corner < 3; ++corner) {
      if (corners[corner] < 0 || corners[corner] >= surface.vertexCount) {
        error->appendFormat("triangle %d has a corner outside the %d vertices", triangle,
                            surface.vertexCount);
        return false;
      }
    }
  }
  return true;
}

}  // namespace standin
