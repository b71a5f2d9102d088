// The PLY reader on any bytes.

#include <cstddef>
#include <cstdint>

#include "surface_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  standin::HostSurface surface;
  standin::GrowingText error;
  if (standin::decodeSurfacePly(data, size, &surface, &error)) {
    standin::checkAcceptedSurface(surface);
  } else {
    standin::checkRefusedSurface(surface, error);
  }
  standin::releaseSurface(&surface);
  return 0;
}
