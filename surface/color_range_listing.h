#pragma once

#include "host/host_records.h"

// Menu function 3: asks for a range of vertex numbers and logs one line
// "Vertex: <n>, value: <stored value>" per vertex of the range that exists.
// Reads the host's colour array; changes nothing.
void printColorRange(const SurfaceRecord& surface);
