#include "bench/opaque.h"

namespace {

// Written, so that consumeNumber is not an empty function either.
volatile int64_t lastConsumed = 0;

}  // namespace

void* opaquePointer(void* pointer) {
  return pointer;
}

const char* opaqueText(const char* text) {
  return text;
}

void consumeNumber(int64_t value) {
  lastConsumed = value;
}
