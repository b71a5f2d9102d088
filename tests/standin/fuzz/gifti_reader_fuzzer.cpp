// The GIfTI reader on any bytes. libgiftiio reads files only, so each input
// is written to a file of this process's own first.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "standin/files/surface_formats.h"
#include "surface_oracle.h"

namespace {

const std::string& inputPath() {
  static const std::string path = [] {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
           "/gifti_reader_fuzzer." + std::to_string(getpid()) + ".gii";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = std::fopen(inputPath().c_str(), "wb");
  if (file == nullptr) return 0;
  bool written = std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) return 0;
  standin::HostSurface surface;
  standin::GrowingText error;
  if (standin::loadSurfaceGifti(inputPath().c_str(), &surface, &error)) {
    standin::checkAcceptedSurface(surface);
  } else {
    standin::checkRefusedSurface(surface, error);
  }
  standin::releaseSurface(&surface);
  std::remove(inputPath().c_str());
  return 0;
}
