#include "standin/mesh/shown_color.h"

#include "host/host_color_value.h"

namespace standin {

uint8_t colorShareByte(float share) {
  if (!(share > 0.0f)) return 0;
  if (share >= 1.0f) return 255;
  return static_cast<uint8_t>(share * 255.0f + 0.5f);
}

void shownVertexColor(const HostSurface& surface, const SurfaceShape& shape, int32_t vertex,
                      uint8_t rgb[3]) {
  int32_t value = surface.colors[vertex];
  if (isColorCode(value)) {
    uint32_t code = colorCodeRgb(value);
    rgb[0] = static_cast<uint8_t>(code >> 16);
    rgb[1] = static_cast<uint8_t>(code >> 8);
    rgb[2] = static_cast<uint8_t>(code);
    return;
  }
  const float* curvature = shape.convex[vertex] != 0 ? surface.convexColor : surface.concaveColor;
  for (int channel = 0; channel < 3; ++channel) rgb[channel] = colorShareByte(curvature[channel]);
}

}  // namespace standin
