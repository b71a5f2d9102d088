#pragma once

// How the host reads a vertex's stored colour value: a value whose top byte
// is 0x3F is a colour code, shown as the colour RRGGBB of 0x3FRRGGBB; any
// other value is not a colour, and the host shows the vertex by the mesh's
// shape there (the surface's convex or concave colour).

#include <stdint.h>

// The top byte of every colour code.
constexpr uint32_t kColorCodeTag = 0x3F000000u;

// Whether `value` is a colour code.
constexpr bool isColorCode(int32_t value) {
  return (static_cast<uint32_t>(value) & 0xFF000000u) == kColorCodeTag;
}

// The colour 0xRRGGBB of the colour code `value`.
constexpr uint32_t colorCodeRgb(int32_t value) {
  return static_cast<uint32_t>(value) & 0xFFFFFFu;
}

// The colour code of the colour 0xRRGGBB (bits above the low 24 ignored).
constexpr int32_t colorCodeOf(uint32_t rgb) {
  return static_cast<int32_t>(kColorCodeTag | (rgb & 0xFFFFFFu));
}

static_assert(isColorCode(colorCodeOf(0xFFFFFFu)) && !isColorCode(0) && !isColorCode(-1),
              "colour codes have the top byte 0x3F");
