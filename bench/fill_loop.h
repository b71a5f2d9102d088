#pragma once

// The bare stores of a painting: a plain loop, in a source file of its own
// and with the painting's own kind of arguments (the array, a pair of
// bounds, the value), so that the compiler builds it as it builds the
// plug-in's painting, with the same flags. Even where the compiler keeps
// both loops scalar, the code then lines up alike: a small loop that
// straddles a 32-byte fetch block runs at half speed on some processors.

#include <stdint.h>

// Entries `first` to `last`, both included.
struct EntryRange {
  int32_t first;
  int32_t last;
};

// Stores `value` into entries[range.first] to entries[range.last].
void fillEntries(int32_t* entries, EntryRange range, int32_t value);
