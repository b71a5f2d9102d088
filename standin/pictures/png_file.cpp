// PNG files through stb_image_write, whose own file writing is not used:
// it does not tell when a write fails, and a picture that silently lost its
// end would be taken for a good one.

#include "standin/pictures/png_file.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "standin/base/file_bytes.h"

// The library is compiled here and nowhere else; its internal checks stay
// off, so that it needs no assert handler from the C runtime.
#define STBIW_ASSERT(condition) ((void)(condition))
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace standin {

namespace {

// Rows are stored unfiltered rather than trying all five PNG filters per
// row: the pictures are mostly flat background and smooth shades, so the
// files come out about as small, and encoding takes about a third less.
const int kPngFilter = 0;
// The library's lowest zlib effort; more buys a few per cent of size at
// twice the time.
const int kPngCompressionLevel = 5;

}  // namespace

unsigned char* encodePng(const Picture& picture, size_t* length) {
  *length = 0;
  if (picture.width < 1 || picture.height < 1 || picture.pixels == nullptr) return nullptr;
  stbi_write_force_png_filter = kPngFilter;
  stbi_write_png_compression_level = kPngCompressionLevel;
  int written = 0;
  unsigned char* bytes = stbi_write_png_to_mem(picture.pixels, picture.width * 3, picture.width,
                                               picture.height, 3, &written);
  if (bytes == nullptr || written <= 0) {
    free(bytes);
    return nullptr;
  }
  *length = static_cast<size_t>(written);
  return bytes;
}

bool writePngFile(const char* path, const Picture& picture, GrowingText* error) {
  size_t length = 0;
  unsigned char* bytes = encodePng(picture, &length);
  if (bytes == nullptr) {
    error->appendFormat("cannot encode the picture %s: out of memory", path);
    return false;
  }
  const FileWrite written = writeFileBytes(path, bytes, length);
  free(bytes);
  if (written == FileWrite::kNotCreated) {
    error->appendFormat("cannot write the picture %s", path);
  } else if (written == FileWrite::kNotComplete) {
    error->appendFormat("cannot write the picture %s in full", path);
  }
  return written == FileWrite::kWritten;
}

}  // namespace standin
