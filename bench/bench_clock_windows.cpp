#include <stdint.h>

#include "bench/bench_clock.h"
#include "platform/module_lookup.h"

extern "C" {
// kernel32.dll: the performance counter and its ticks per second.
FACETKIT_WINIMPORT int FACETKIT_WINAPI QueryPerformanceCounter(int64_t* count);
FACETKIT_WINIMPORT int FACETKIT_WINAPI QueryPerformanceFrequency(int64_t* frequency);
}

double steadySeconds() {
  static int64_t ticksPerSecond = 0;
  if (ticksPerSecond == 0 && QueryPerformanceFrequency(&ticksPerSecond) == 0) return 0;
  int64_t count = 0;
  QueryPerformanceCounter(&count);
  // Whole seconds and the rest apart, so that a large count keeps its
  // precision in the double.
  return static_cast<double>(count / ticksPerSecond) +
         static_cast<double>(count % ticksPerSecond) / static_cast<double>(ticksPerSecond);
}
