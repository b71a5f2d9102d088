// The FreeSurfer row of the table of formats, and reading FreeSurfer
// triangle surfaces; the format is described in surface_formats.h. Counts
// are checked against the file's size before anything is allocated.

#include <stdint.h>
#include <string.h>

#include "standin/files/surface_file.h"
#include "standin/files/surface_formats.h"
#include "standin/mesh/surface_anatomy.h"

namespace standin {

namespace {

const size_t kMagicSize = 3;
const unsigned char kTriangleMagic[kMagicSize] = {0xFF, 0xFF, 0xFE};
const unsigned char kQuadMagic[kMagicSize] = {0xFF, 0xFF, 0xFF};
// The "created by" line is free text; real ones are well under this.
const size_t kLongestCreatedByLine = 4096;

bool startsWithMagic(const unsigned char* data, size_t size, const unsigned char* magic) {
  return size >= kMagicSize && memcmp(data, magic, kMagicSize) == 0;
}

// Quad surfaces are recognised too, so that loading one says what it is.
bool recogniseFreeSurfer(const unsigned char* data, size_t size) {
  return startsWithMagic(data, size, kTriangleMagic) || startsWithMagic(data, size, kQuadMagic);
}

bool loadFreeSurfer(const char* path, const unsigned char* data, size_t size, HostSurface* surface,
                    GrowingText* error) {
  if (!decodeSurfaceFreeSurfer(data, size, surface, error)) return false;
  surface->hemisphere = hemisphereOfFreeSurferName(path);
  return true;
}

uint32_t bigEndian32(const unsigned char* bytes) {
  return (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
         (static_cast<uint32_t>(bytes[2]) << 8) | static_cast<uint32_t>(bytes[3]);
}

// The offset of the vertex count: after the magic bytes and the "created
// by" line with its line feed, and a second line feed when there is one.
bool findCounts(const unsigned char* data, size_t size, size_t* at, GrowingText* error) {
  size_t searched = size - kMagicSize;
  if (searched > kLongestCreatedByLine) searched = kLongestCreatedByLine;
  const void* feed = memchr(data + kMagicSize, '\n', searched);
  if (feed == nullptr) {
    error->append(searched == kLongestCreatedByLine
                      ? "the \"created by\" line of the FreeSurfer surface has no end"
                      : "the FreeSurfer surface ends inside its \"created by\" line");
    return false;
  }
  *at = static_cast<size_t>(static_cast<const unsigned char*>(feed) - data) + 1;
  if (*at < size && data[*at] == '\n') ++*at;
  return true;
}

}  // namespace

const SurfaceFormat kFreeSurferFormat = {"FreeSurfer", nullptr, recogniseFreeSurfer, loadFreeSurfer,
                                         nullptr};

bool decodeSurfaceFreeSurfer(const unsigned char* data, size_t size, HostSurface* surface,
                             GrowingText* error) {
  releaseSurface(surface);
  if (startsWithMagic(data, size, kQuadMagic)) {
    error->append("a FreeSurfer quad surface (only triangle surfaces are read)");
    return false;
  }
  if (!startsWithMagic(data, size, kTriangleMagic)) {
    error->append("not a FreeSurfer triangle surface");
    return false;
  }
  size_t at = 0;
  if (!findCounts(data, size, &at, error)) return false;
  if (size - at < 8) {
    error->append("the FreeSurfer surface ends before its vertex and triangle counts");
    return false;
  }
  uint32_t vertices = bigEndian32(data + at);
  uint32_t triangles = bigEndian32(data + at + 4);
  at += 8;
  if (vertices > INT32_MAX || triangles > INT32_MAX) {
    error->appendFormat("the FreeSurfer surface has a negative count (%d vertices, %d triangles)",
                        static_cast<int32_t>(vertices), static_cast<int32_t>(triangles));
    return false;
  }
  if (!checkSurfaceSize(vertices, triangles, error)) return false;
  // 12 bytes per vertex and per triangle; both counts are below 2^31.
  uint64_t needed = (static_cast<uint64_t>(vertices) + triangles) * 12;
  if (needed > size - at) {
    error->appendFormat(
        "the FreeSurfer surface is truncated: %u vertices and %u triangles need %llu bytes, "
        "%llu follow the counts",
        vertices, triangles, static_cast<unsigned long long>(needed),
        static_cast<unsigned long long>(size - at));
    return false;
  }
  if (!allocateSurface(surface, static_cast<int32_t>(vertices), static_cast<int32_t>(triangles))) {
    error->append("out of memory");
    return false;
  }
  for (size_t index = 0; index < static_cast<size_t>(vertices) * 3; ++index, at += 4) {
    uint32_t bits = bigEndian32(data + at);
    memcpy(&surface->positions[index], &bits, sizeof(bits));
  }
  for (size_t index = 0; index < static_cast<size_t>(triangles) * 3; ++index, at += 4) {
    surface->triangles[index] = static_cast<int32_t>(bigEndian32(data + at));
  }
  if (!checkSurfaceMesh(*surface, error)) {
    releaseSurface(surface);
    return false;
  }
  setOwnDisplayFields(surface);
  return true;
}

}  // namespace standin
