#include "bench/heap_counter.h"

#include <malloc.h>
#include <stddef.h>

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
void __real_free(void* block);
}

namespace {

bool counting = false;
HeapCount held = {0, 0};

long long usableSize(void* block) {
  return block != nullptr ? static_cast<long long>(malloc_usable_size(block)) : 0;
}

void add(long long bytes) {
  held.inUse += bytes;
  if (held.inUse > held.peak) held.peak = held.inUse;
}

}  // namespace

extern "C" {

void* __wrap_malloc(size_t size) {
  void* block = __real_malloc(size);
  if (counting) add(usableSize(block));
  return block;
}

void* __wrap_calloc(size_t count, size_t size) {
  void* block = __real_calloc(count, size);
  if (counting) add(usableSize(block));
  return block;
}

void* __wrap_realloc(void* block, size_t size) {
  const long long before = counting ? usableSize(block) : 0;
  void* moved = __real_realloc(block, size);
  // A failed realloc leaves the old block as it was.
  if (counting && (moved != nullptr || size == 0)) {
    held.inUse -= before;
    add(usableSize(moved));
  }
  return moved;
}

void __wrap_free(void* block) {
  if (counting) held.inUse -= usableSize(block);
  __real_free(block);
}

}  // extern "C"

void startHeapCount() {
  held = {0, 0};
  counting = true;
}

HeapCount heapCount() {
  return held;
}

void stopHeapCount() {
  counting = false;
}
