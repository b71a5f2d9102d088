// The FreeSurfer reader on any bytes; most inputs start with the magic
// bytes of a triangle surface, so that the fuzzer spends its time past them.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "standin/files/surface_formats.h"
#include "surface_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<unsigned char> bytes(data, data + size);
  if (size > 0 && (data[0] & 1) != 0) {
    const unsigned char magic[3] = {0xFF, 0xFF, 0xFE};
    bytes.insert(bytes.begin(), magic, magic + 3);
  }
  standin::HostSurface surface;
  standin::GrowingText error;
  if (standin::decodeSurfaceFreeSurfer(bytes.data(), bytes.size(), &surface, &error)) {
    standin::checkAcceptedSurface(surface);
  } else {
    standin::checkRefusedSurface(surface, error);
  }
  standin::releaseSurface(&surface);
  return 0;
}
