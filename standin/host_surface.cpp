#include "standin/host_surface.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "host/host_records.h"

namespace standin {

namespace {

template <typename T>
T* allocateZeroed(int32_t count, int32_t width) {
  size_t elements = static_cast<size_t>(count) * static_cast<size_t>(width);
  // At least one element, so that an empty mesh still has arrays.
  return static_cast<T*>(calloc(elements > 0 ? elements : 1, sizeof(T)));
}

void setTriple(float* triple, float first, float second, float third) {
  triple[0] = first;
  triple[1] = second;
  triple[2] = third;
}

}  // namespace

void releaseSurface(HostSurface* surface) {
  free(surface->positions);
  free(surface->triangles);
  free(surface->colors);
  free(surface->fileName);
  *surface = HostSurface();
}

bool allocateSurface(HostSurface* surface, int32_t vertexCount, int32_t triangleCount) {
  releaseSurface(surface);
  if (vertexCount < 0 || triangleCount < 0) return false;
  surface->positions = allocateZeroed<float>(vertexCount, 3);
  surface->colors = allocateZeroed<int32_t>(vertexCount, 1);
  surface->triangles = allocateZeroed<int32_t>(triangleCount, 3);
  if (surface->positions == nullptr || surface->colors == nullptr ||
      surface->triangles == nullptr) {
    releaseSurface(surface);
    return false;
  }
  surface->vertexCount = vertexCount;
  surface->triangleCount = triangleCount;
  return true;
}

bool setSurfaceFileName(HostSurface* surface, const char* fileName) {
  size_t length = strlen(fileName);
  char* copy = static_cast<char*>(malloc(length + 1));
  if (copy == nullptr) return false;
  memcpy(copy, fileName, length + 1);
  free(surface->fileName);
  surface->fileName = copy;
  return true;
}

void setSampleDisplayFields(HostSurface* surface) {
  surface->visible = 1;
  surface->renderMode = 2;
  setTriple(surface->convexColor, 0.25f, 0.5f, 0.75f);
  setTriple(surface->concaveColor, 1.0f, 0.5f, 0.0f);
  setTriple(surface->meshCenter, 128.0f, 128.0f, 128.0f);
  setTriple(surface->meshRotation, 0.0f, 90.0f, -45.5f);
  surface->useStrips = 0;
  surface->stripElementCount = 0;
}

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
  setTriple(surface->meshCenter, static_cast<float>((low[0] + high[0]) / 2),
            static_cast<float>((low[1] + high[1]) / 2), static_cast<float>((low[2] + high[2]) / 2));
  setTriple(surface->meshRotation, 0.0f, 0.0f, 0.0f);
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

void fillSurfaceRecord(const HostSurface& surface, SurfaceRecord* record) {
  memset(record, 0, sizeof(SurfaceRecord));
  record->vertexCount = surface.vertexCount;
  record->triangleCount = surface.triangleCount;
  record->vertexColors = surface.colors;
  record->visible = surface.visible;
  record->renderMode = surface.renderMode;
  record->convexColor =
      ColorRgb{surface.convexColor[0], surface.convexColor[1], surface.convexColor[2]};
  record->concaveColor =
      ColorRgb{surface.concaveColor[0], surface.concaveColor[1], surface.concaveColor[2]};
  record->meshCenter = Vector3{surface.meshCenter[0], surface.meshCenter[1], surface.meshCenter[2]};
  record->meshRotation =
      Vector3{surface.meshRotation[0], surface.meshRotation[1], surface.meshRotation[2]};
  record->useStrips = surface.useStrips;
  record->stripElementCount = surface.stripElementCount;
  record->fileName = surface.fileName != nullptr ? surface.fileName : "";
}

}  // namespace standin
