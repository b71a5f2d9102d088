#pragma once

// Counts the heap bytes held through malloc, calloc, realloc and free by the
// objects linked into facetkit_bench, the plug-in's included (the link routes
// those calls here with ld --wrap). Sizes are the allocator's usable sizes.
// Counts only between startHeapCount and stopHeapCount; single thread.

struct HeapCount {
  // Bytes allocated since the start and not yet freed.
  long long inUse;
  // The largest inUse seen since the start.
  long long peak;
};

// Starts counting from zero.
void startHeapCount();

// The count so far.
HeapCount heapCount();

// Stops counting; later calls pass straight through.
void stopHeapCount();
