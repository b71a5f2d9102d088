#include "bench/fill_loop.h"

void fillEntries(int32_t* entries, EntryRange range, int32_t value) {
  for (int32_t entry = range.first; entry <= range.last; ++entry) entries[entry] = value;
}
