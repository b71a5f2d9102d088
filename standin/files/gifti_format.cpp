// The GIfTI row of the table of formats: XML files whose root element is
// GIFTI, read with expat (gifti_file_read.cpp) and written by libgiftiio
// (gifti_file_write.cpp), or refused where the build has no GIfTI
// (gifti_file_absent.cpp).

#include <string.h>

#include "standin/files/surface_formats.h"

namespace standin {

namespace {

// How far into an XML file the GIfTI root element is looked for: past the
// declaration, a document type and a few comments.
const size_t kGiftiRootWindow = 4096;

bool containsWithin(const unsigned char* data, size_t size, const char* text) {
  size_t length = strlen(text);
  size_t window = size < kGiftiRootWindow ? size : kGiftiRootWindow;
  for (size_t at = 0; at + length <= window; ++at) {
    if (memcmp(data + at, text, length) == 0) return true;
  }
  return false;
}

bool recogniseGifti(const unsigned char* data, size_t size) {
  size_t at = 0;
  if (size >= 3 && memcmp(data, "\xEF\xBB\xBF", 3) == 0) at = 3;
  while (at < size && (data[at] == ' ' || data[at] == '\t' || data[at] == '\r' || data[at] == '\n'))
    ++at;
  if (at == size || data[at] != '<') return false;
  return containsWithin(data + at, size - at, "<GIFTI");
}

bool loadGifti(const char*, const unsigned char* data, size_t size, HostSurface* surface,
               GrowingText* error) {
  return decodeSurfaceGifti(data, size, surface, error);
}

}  // namespace

const SurfaceFormat kGiftiFormat = {"GIfTI", ".gii", recogniseGifti, loadGifti, saveSurfaceGifti};

}  // namespace standin
