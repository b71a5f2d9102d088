// Loading and saving surface files whatever their format, by the table of
// formats, and the checks that every reader makes of the mesh it read.

#include <math.h>
#include <string.h>

#include "standin/base/file_bytes.h"
#include "standin/files/surface_file.h"
#include "standin/files/surface_formats.h"

namespace standin {

bool checkSurfaceSize(int64_t vertices, int64_t triangles, GrowingText* error) {
  if (vertices > kMostSurfaceVertices) {
    error->appendFormat("the surface has %lld vertices, more than the %lld the host loads",
                        static_cast<long long>(vertices),
                        static_cast<long long>(kMostSurfaceVertices));
    return false;
  }
  if (triangles > kMostSurfaceTriangles) {
    error->appendFormat("the surface has %lld triangles, more than the %lld the host loads",
                        static_cast<long long>(triangles),
                        static_cast<long long>(kMostSurfaceTriangles));
    return false;
  }
  return true;
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

bool loadSurfaceFile(const char* path, HostSurface* surface, GrowingText* error) {
  GrowingText contents;
  if (!readFile(path, &contents)) {
    releaseSurface(surface);
    error->appendFormat("cannot read \"%s\"", path);
    return false;
  }
  const unsigned char* data = reinterpret_cast<const unsigned char*>(contents.text());
  GrowingText reason;
  const SurfaceFormat* format = surfaceFormatOfContent(data, contents.length());
  bool decoded = false;
  if (format != nullptr) {
    decoded = format->load(path, data, contents.length(), surface, &reason);
  } else {
    releaseSurface(surface);
    if (contents.empty()) {
      reason.append("the file is empty");
    } else {
      reason.append("unknown file type (not ");
      appendSurfaceFormatNames(&reason, " or ");
      reason.append(")");
    }
  }
  if (!decoded) {
    error->appendFormat("\"%s\": %s", path, reason.text());
    return false;
  }
  if (!setSurfaceFileName(surface, path)) {
    releaseSurface(surface);
    error->append("out of memory");
    return false;
  }
  return true;
}

bool writeWholeFile(const char* path, const GrowingText& contents, GrowingText* error) {
  switch (writeFileBytes(path, contents.text(), contents.length())) {
    case FileWrite::kWritten:
      return true;
    case FileWrite::kNotCreated:
      error->appendFormat("cannot create \"%s\"", path);
      return false;
    case FileWrite::kNotComplete:
      break;
  }
  error->appendFormat("cannot write \"%s\"", path);
  return false;
}

bool saveSurfaceFile(const HostSurface& surface, const char* path, GrowingText* error) {
  const SurfaceFormat& format = surfaceFormatForName(path);
  if (format.save == nullptr) {
    error->appendFormat("cannot write \"%s\": %s files are only read", path, format.name);
    return false;
  }
  return format.save(surface, path, error);
}

}  // namespace standin
