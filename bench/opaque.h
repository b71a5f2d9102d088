#pragma once

// Calls that the compiler cannot see into (they live in their own source
// file, and the build does no link-time optimisation), so that timed work is
// neither folded into constants nor hoisted out of its loop nor dropped.

#include <stdint.h>

// Returns `pointer`; the compiler must assume that what it points to has
// been read and may have changed.
void* opaquePointer(void* pointer);
const char* opaqueText(const char* text);

// Takes `value` as used.
void consumeNumber(int64_t value);
