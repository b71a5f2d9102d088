// The PLY row of the table of formats: binary little-endian PLY files,
// read by ply_file_read.cpp and ply_header.cpp, written by ply_file_write.cpp.

#include <string.h>

#include "standin/files/surface_file.h"
#include "standin/files/surface_formats.h"

namespace standin {

namespace {

bool startsWith(const unsigned char* data, size_t size, const char* prefix) {
  size_t length = strlen(prefix);
  return size >= length && memcmp(data, prefix, length) == 0;
}

bool recognisePly(const unsigned char* data, size_t size) {
  return startsWith(data, size, "ply\n") || startsWith(data, size, "ply\r\n");
}

bool loadPly(const char*, const unsigned char* data, size_t size, HostSurface* surface,
             GrowingText* error) {
  return decodeSurfacePly(data, size, surface, error);
}

bool savePly(const HostSurface& surface, const char* path, GrowingText* error) {
  GrowingText contents;
  if (!encodeSurfacePly(surface, &contents)) {
    error->appendFormat("cannot write \"%s\": out of memory", path);
    return false;
  }
  return writeWholeFile(path, contents, error);
}

}  // namespace

const SurfaceFormat kPlyFormat = {"PLY", nullptr, recognisePly, loadPly, savePly};

}  // namespace standin
