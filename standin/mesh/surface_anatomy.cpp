#include "standin/mesh/surface_anatomy.h"

#include <math.h>
#include <string.h>

namespace standin {

void setOwnDisplayFields(HostSurface* surface) {
  setSampleDisplayFields(surface);
  double low[3] = {0, 0, 0};
  double high[3] = {0, 0, 0};
  bool any = false;
  for (int32_t vertex = 0; vertex < surface->vertexCount; ++vertex) {
    const float* position = surface->positions + static_cast<size_t>(vertex) * 3;
    if (!isfinite(position[0]) || !isfinite(position[1]) || !isfinite(position[2])) continue;
    for (int axis = 0; axis < 3; ++axis) {
      if (!any || position[axis] < low[axis]) low[axis] = position[axis];
      if (!any || position[axis] > high[axis]) high[axis] = position[axis];
    }
    any = true;
  }
  // The middle of two floats lies within a float's range.
  for (int axis = 0; axis < 3; ++axis) {
    surface->meshCenter[axis] = static_cast<float>((low[axis] + high[axis]) / 2);
    surface->meshRotation[axis] = 0.0f;
  }
  surface->ownDisplayFields = true;
}

Hemisphere hemisphereOfStructure(const char* structure) {
  if (structure == nullptr) return Hemisphere::kUnknown;
  if (strcmp(structure, "CortexLeft") == 0) return Hemisphere::kLeft;
  if (strcmp(structure, "CortexRight") == 0) return Hemisphere::kRight;
  return Hemisphere::kUnknown;
}

Hemisphere hemisphereOfFreeSurferName(const char* path) {
  const char* name = path;
  for (const char* at = path; *at != '\0'; ++at) {
    if (*at == '/' || *at == '\\') name = at + 1;
  }
  if (strncmp(name, "lh.", 3) == 0) return Hemisphere::kLeft;
  if (strncmp(name, "rh.", 3) == 0) return Hemisphere::kRight;
  return Hemisphere::kUnknown;
}

Hemisphere surfaceHemisphere(const HostSurface& surface) {
  if (surface.hemisphere != Hemisphere::kUnknown) return surface.hemisphere;
  double sum = 0;
  for (int32_t vertex = 0; vertex < surface.vertexCount; ++vertex) {
    double x = surface.positions[static_cast<size_t>(vertex) * 3];
    if (isfinite(x)) sum += x;
  }
  return sum < 0 ? Hemisphere::kLeft : Hemisphere::kRight;
}

}  // namespace standin
