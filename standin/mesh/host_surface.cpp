#include "standin/mesh/host_surface.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "host/host_records.h"
#include "platform/guarded_memory.h"

namespace standin {

namespace {

template <typename T>
T* allocateZeroed(int32_t count, int32_t width) {
  size_t elements = static_cast<size_t>(count) * static_cast<size_t>(width);
  // At least one element, so that an empty mesh still has arrays.
  return static_cast<T*>(calloc(elements > 0 ? elements : 1, sizeof(T)));
}

// The colour array the plug-in writes into: exactly `count` values, ending
// at an unreadable page, so that a write past the last vertex faults at once.
int32_t* allocateColors(int32_t count) {
  const size_t elements = static_cast<size_t>(count);
  if (elements > SIZE_MAX / sizeof(int32_t)) return nullptr;
  return static_cast<int32_t*>(allocateGuarded(elements * sizeof(int32_t)));
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
  releaseGuarded(surface->colors);
  free(surface->fileName);
  *surface = HostSurface();
}

bool allocateSurface(HostSurface* surface, int32_t vertexCount, int32_t triangleCount) {
  releaseSurface(surface);
  if (vertexCount < 0 || triangleCount < 0) return false;
  surface->positions = allocateZeroed<float>(vertexCount, 3);
  surface->colors = allocateColors(vertexCount);
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
