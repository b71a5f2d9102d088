#include "bench/header_memory.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "bench/heap_counter.h"
#include "bench/opaque.h"
#include "bench/text_bench.h"
#include "surface/surface_header_report.h"

namespace {

// Whether the counter sees this program's allocations at all.
bool counterSeesAllocations() {
  startHeapCount();
  // Through opaquePointer, so that the compiler cannot drop the pair.
  void* probe = opaquePointer(malloc(64));
  const bool seen = heapCount().peak > 0;
  free(probe);
  stopHeapCount();
  return seen;
}

}  // namespace

bool printHeaderMemory() {
  printf("\nHeap bytes of one header report (allocator's usable sizes):\n\n");
  if (!counterSeesAllocations()) {
    printf("not measured: the allocations did not reach the counter\n");
    return false;
  }
  SurfaceRecord surface = exampleSurface();
  startHeapCount();
  const char* report = formatSurfaceHeader(&surface);
  const HeapCount formatted = heapCount();
  if (report == nullptr) {
    stopHeapCount();
    printf("not measured: the report could not be built\n");
    return false;
  }
  const long long textBytes = static_cast<long long>(strlen(report)) + 1;
  releaseSurfaceHeader(report);
  const HeapCount released = heapCount();
  stopHeapCount();

  printf("%-34s %9lld\n", "peak while formatting", formatted.peak);
  printf("%-34s %9lld\n", "held by the finished report", formatted.inUse);
  printf("%-34s %9lld\n", "text with its terminator", textBytes);
  printf("%-34s %9.2f\n", "peak / text",
         static_cast<double>(formatted.peak) / static_cast<double>(textBytes));
  printf("%-34s %9lld\n", "still held after release", released.inUse);
  return true;
}
