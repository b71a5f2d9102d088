#pragma once

// Painting every vertex of a surface, timed through the editing function,
// through the plug-in object's execute, through the painting's own stores,
// and as the bare work: a plain fill loop built with the same compiler and
// flags as the plug-in (the painting's stores as they were before long
// ranges got a fill of their own), and memset.

#include <stdint.h>

#include "bench/interleaved_runs.h"
#include "host/host_records.h"
#include "plugin/plugin_interface.h"

// One colour array and what paints it. The fill loop and memset store values
// other than the painted one, so that the check after a painting sample sees
// the painting's own writes.
struct PaintBench {
  int32_t* colours;
  int32_t vertexCount;
  SurfaceRecord surface;
  ZDVNPluginInterface* plugin;
  // Redraws counted when the last painting sample started, and the
  // paintings it made.
  int64_t redrawsSeen;
  int64_t paintings;
};

// Sets up `bench` for `vertexCount` vertices (a new array, zero-filled and so
// touched once before any timing). Returns false when memory runs out.
bool preparePaintBench(PaintBench& bench, int32_t vertexCount);

// Frees what preparePaintBench took.
void releasePaintBench(PaintBench& bench);

// changeVertexColors called directly, with the fake host installed.
Contender paintDirectly(PaintBench& bench);
// The plug-in object's execute, choosing function 1 in the fake host's menu.
Contender paintThroughExecute(PaintBench& bench);
// paintVertexRange over every vertex: the stores of a painting alone.
Contender paintRange(PaintBench& bench);
// A loop storing one 32-bit value into every entry.
Contender fillLoop(PaintBench& bench);
// memset of the whole array.
Contender memsetArray(PaintBench& bench);
