#pragma once

// What every surface reader must give when it accepts a file: a mesh the
// host can hand to the plug-in, and one that survives the host's own PLY
// format unchanged. A broken promise ends the run, so the fuzzer reports it.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "standin/files/surface_file.h"
#include "standin/files/surface_formats.h"

namespace standin {

inline void fuzzCheck(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "surface oracle: %s\n", what);
  std::abort();
}

// Checks an accepted `surface`; `message` is what the reader said.
inline void checkAcceptedSurface(const HostSurface& surface) {
  fuzzCheck(surface.vertexCount >= 0 && surface.triangleCount >= 0, "negative count");
  fuzzCheck(
      surface.colors != nullptr && surface.positions != nullptr && surface.triangles != nullptr,
      "missing array");
  for (int32_t index = 0; index < surface.vertexCount * 3; ++index) {
    fuzzCheck(std::isfinite(surface.positions[index]), "coordinate not finite");
  }
  for (int64_t index = 0; index < int64_t{surface.triangleCount} * 3; ++index) {
    int32_t corner = surface.triangles[index];
    fuzzCheck(corner >= 0 && corner < surface.vertexCount, "corner outside the vertices");
  }
  GrowingText bytes;
  // Running out of memory for the shape is no fault of the reader's.
  if (!encodeSurfacePly(surface, &bytes)) return;
  HostSurface again;
  GrowingText error;
  fuzzCheck(decodeSurfacePly(reinterpret_cast<const unsigned char*>(bytes.text()), bytes.length(),
                             &again, &error),
            "the host cannot read its own PLY file of the surface");
  fuzzCheck(
      again.vertexCount == surface.vertexCount && again.triangleCount == surface.triangleCount,
      "counts changed through PLY");
  size_t vertices = static_cast<size_t>(surface.vertexCount);
  fuzzCheck(std::memcmp(again.positions, surface.positions, vertices * 3 * sizeof(float)) == 0 &&
                std::memcmp(again.colors, surface.colors, vertices * sizeof(int32_t)) == 0 &&
                std::memcmp(again.triangles, surface.triangles,
                            static_cast<size_t>(surface.triangleCount) * 3 * sizeof(int32_t)) == 0,
            "values changed through PLY");
  releaseSurface(&again);
}

// Checks a refused file: one line of explanation, and nothing kept.
inline void checkRefusedSurface(const HostSurface& surface, const GrowingText& error) {
  fuzzCheck(!error.empty() && std::strchr(error.text(), '\n') == nullptr,
            "refusal is not one line");
  fuzzCheck(surface.positions == nullptr && surface.colors == nullptr && surface.vertexCount == 0,
            "a refused file left a surface");
}

}  // namespace standin
