#pragma once

// The range of vertex numbers that the colour functions ask the user for.

#include <stdint.h>

#include "host/host_records.h"

// Vertex numbers from `first` to `last`, both included; empty when first is
// greater than last.
struct VertexRange {
  int32_t first;
  int32_t last;
};

// Whether the surface has vertices that may be addressed: a positive count
// and a colour array.
bool surfaceHasVertices(const SurfaceRecord& surface);

// Logs that the surface has no vertices, so nothing can be done with them.
void reportNoVertices();

// Asks for the first and then the last vertex number (each prompt bounded to
// 0 .. vertexCount - 1), and returns the part of the entered range that lies
// on the surface. Needs zvGetIntegerInput and a surface with vertices.
VertexRange askVertexRange(const SurfaceRecord& surface);

// Stores `value` into colours[range.first] to colours[range.last] and
// nowhere else; nothing when the range is empty. Long ranges go through
// fillWords (platform/word_fill.h). The caller makes sure the range lies
// inside the array.
void paintVertexRange(int32_t* colours, VertexRange range, int32_t value);
