#include "bench/fill_loop.h"

void fillEntries(int32_t* colours, int32_t first, int32_t last, int32_t value) {
  for (int32_t entry = first; entry <= last; ++entry) colours[entry] = value;
}
