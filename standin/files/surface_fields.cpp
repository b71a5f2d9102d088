// The surface record's fields as text, as PLY comments and GIfTI metadata
// keep them.

#include <errno.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "standin/files/surface_file.h"

namespace standin {

const SurfaceField kSurfaceFields[] = {
    {"visible", false, 1, offsetof(HostSurface, visible)},
    {"renderMode", false, 1, offsetof(HostSurface, renderMode)},
    {"convexColor", true, 3, offsetof(HostSurface, convexColor)},
    {"concaveColor", true, 3, offsetof(HostSurface, concaveColor)},
    {"meshCenter", true, 3, offsetof(HostSurface, meshCenter)},
    {"meshRotation", true, 3, offsetof(HostSurface, meshRotation)},
    {"useStrips", false, 1, offsetof(HostSurface, useStrips)},
    {"stripElementCount", false, 1, offsetof(HostSurface, stripElementCount)},
};
const int kSurfaceFieldCount = static_cast<int>(sizeof(kSurfaceFields) / sizeof(kSurfaceFields[0]));

void appendSurfaceFieldValues(GrowingText* out, const HostSurface& surface,
                              const SurfaceField& field) {
  const char* base = reinterpret_cast<const char*>(&surface) + field.offset;
  for (int index = 0; index < field.count; ++index) {
    if (field.isFloat) {
      float value = 0;
      memcpy(&value, base + index * 4, 4);
      out->appendFormat(" %.9g", static_cast<double>(value));
    } else {
      int32_t value = 0;
      memcpy(&value, base + index * 4, 4);
      out->appendFormat(" %d", value);
    }
  }
}

bool parseSurfaceFieldValue(const char* text, const SurfaceField& field, char* slot) {
  errno = 0;
  char* end = nullptr;
  if (field.isFloat) {
    float value = strtof(text, &end);
    if (*end != '\0' || end == text) return false;
    memcpy(slot, &value, sizeof(value));
    return true;
  }
  long long value = strtoll(text, &end, 10);
  if (errno != 0 || *end != '\0' || end == text || value < INT32_MIN || value > INT32_MAX) {
    return false;
  }
  int32_t narrow = static_cast<int32_t>(value);
  memcpy(slot, &narrow, sizeof(narrow));
  return true;
}

}  // namespace standin
