#include "bench/paint_bench.h"

#include <stdlib.h>
#include <string.h>

#include "bench/fake_host.h"
#include "bench/fill_loop.h"
#include "bench/opaque.h"
#include "surface/vertex_color_editing.h"
#include "surface/vertex_range.h"

namespace {

// Not byte-uniform, so that no compiler turns the fill loop into memset.
constexpr int32_t kFillValue = 0x3F00FF00;
constexpr int32_t kRangeValue = 0x3F0000FF;
constexpr unsigned char kMemsetByte = 0x5A;
constexpr int32_t kMemsetValue = 0x5A5A5A5A;

PaintBench& benchOf(void* context) {
  return *static_cast<PaintBench*>(context);
}

bool everyEntryHolds(const PaintBench& bench, int32_t value) {
  for (int32_t vertex = 0; vertex < bench.vertexCount; ++vertex) {
    if (bench.colours[vertex] != value) return false;
  }
  return true;
}

void paintWithEditing(void* context, int64_t iterations) {
  PaintBench& bench = benchOf(context);
  setFakeSurface(bench.surface, PaintRoute::kEditing);
  bench.redrawsSeen = redrawCount();
  for (int64_t iteration = 0; iteration < iterations; ++iteration) {
    changeVertexColors(bench.surface);
  }
  bench.paintings = iterations;
}

void paintWithExecute(void* context, int64_t iterations) {
  PaintBench& bench = benchOf(context);
  setFakeSurface(bench.surface, PaintRoute::kMenu);
  bench.redrawsSeen = redrawCount();
  for (int64_t iteration = 0; iteration < iterations; ++iteration) bench.plugin->execute();
  bench.paintings = iterations;
}

// Every vertex painted, no save attempted, and one redraw per painting.
bool checkPainted(void* context) {
  const PaintBench& bench = benchOf(context);
  const bool allRedrawn = redrawCount() - bench.redrawsSeen == bench.paintings;
  return allRedrawn && unexpectedHostCalls() == 0 && everyEntryHolds(bench, kPaintedValue);
}

void paintWholeRange(void* context, int64_t iterations) {
  PaintBench& bench = benchOf(context);
  for (int64_t iteration = 0; iteration < iterations; ++iteration) {
    paintVertexRange(bench.colours, VertexRange{0, bench.vertexCount - 1}, kRangeValue);
  }
}

bool checkRangePainted(void* context) {
  return everyEntryHolds(benchOf(context), kRangeValue);
}

void fillWithLoop(void* context, int64_t iterations) {
  PaintBench& bench = benchOf(context);
  for (int64_t iteration = 0; iteration < iterations; ++iteration) {
    fillEntries(bench.colours, EntryRange{0, bench.vertexCount - 1}, kFillValue);
  }
}

bool checkFilled(void* context) {
  return everyEntryHolds(benchOf(context), kFillValue);
}

void fillWithMemset(void* context, int64_t iterations) {
  PaintBench& bench = benchOf(context);
  const size_t bytes = static_cast<size_t>(bench.vertexCount) * sizeof(bench.colours[0]);
  for (int64_t iteration = 0; iteration < iterations; ++iteration) {
    memset(opaquePointer(bench.colours), kMemsetByte, bytes);
  }
}

bool checkMemset(void* context) {
  return everyEntryHolds(benchOf(context), kMemsetValue);
}

}  // namespace

bool preparePaintBench(PaintBench& bench, int32_t vertexCount) {
  memset(&bench, 0, sizeof(bench));
  bench.colours = static_cast<int32_t*>(calloc(static_cast<size_t>(vertexCount), sizeof(int32_t)));
  if (bench.colours == nullptr) return false;
  // calloc may hand out pages not yet mapped; writing them maps them now.
  memset(bench.colours, 0, static_cast<size_t>(vertexCount) * sizeof(int32_t));
  bench.vertexCount = vertexCount;
  bench.surface.vertexCount = vertexCount;
  bench.surface.triangleCount = 2 * vertexCount - 4;
  bench.surface.vertexColors = bench.colours;
  bench.surface.fileName = "C:\\Users\\lab\\Documents\\study\\subject01\\subject01_LH_inflated.srf";
  bench.surface.convexColor = {0.25f, 0.5f, 0.75f};
  bench.surface.concaveColor = {1, 0.5f, 0};
  bench.plugin = createPlugin();
  if (bench.plugin == nullptr) {
    releasePaintBench(bench);
    return false;
  }
  return true;
}

void releasePaintBench(PaintBench& bench) {
  delete bench.plugin;
  free(bench.colours);
  memset(&bench, 0, sizeof(bench));
}

Contender paintDirectly(PaintBench& bench) {
  return {"changeVertexColors", paintWithEditing, checkPainted, &bench};
}

Contender paintThroughExecute(PaintBench& bench) {
  return {"execute", paintWithExecute, checkPainted, &bench};
}

Contender paintRange(PaintBench& bench) {
  return {"paintVertexRange", paintWholeRange, checkRangePainted, &bench};
}

Contender fillLoop(PaintBench& bench) {
  return {"fill loop", fillWithLoop, checkFilled, &bench};
}

Contender memsetArray(PaintBench& bench) {
  return {"memset", fillWithMemset, checkMemset, &bench};
}
