// The GIfTI reader on any bytes, in memory, as the host reads a file.

#include <cstddef>
#include <cstdint>

#include "standin/files/surface_formats.h"
#include "surface_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  standin::HostSurface surface;
  standin::GrowingText error;
  if (standin::decodeSurfaceGifti(data, size, &surface, &error)) {
    standin::checkAcceptedSurface(surface);
  } else {
    standin::checkRefusedSurface(surface, error);
  }
  standin::releaseSurface(&surface);
  return 0;
}
