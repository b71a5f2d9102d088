#pragma once

#include <stdint.h>

// The value stored per vertex for colour number `colour`: 0x3F000000 plus the
// number, wrapping modulo 2^32 (0x3FRRGGBB for the HTML code RRGGBB).
int32_t vertexColorValue(int32_t colour);
