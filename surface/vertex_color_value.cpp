#include <stdint.h>

#include "surface/vertex_color_value.h"

#include "host/host_color_value.h"

namespace {

// The two's complement reading of `bits`, written out so that no conversion
// leaves the range of int32_t.
int32_t asSigned(uint32_t bits) {
  if (bits <= 0x7FFFFFFFu) return static_cast<int32_t>(bits);
  return static_cast<int32_t>(bits - 0x80000000u) - 0x7FFFFFFF - 1;
}

}  // namespace

int32_t vertexColorValue(int32_t colour) {
  return asSigned(kColorCodeTag + static_cast<uint32_t>(colour));
}
