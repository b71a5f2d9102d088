#pragma once

// The bare stores of a painting: a plain loop, in a source file of its own
// so that the compiler sees it exactly as it sees the plug-in's painting (a
// function taking the array, the bounds and the value) and builds it with
// the same flags.

#include <stdint.h>

// Stores `value` into colours[first] to colours[last].
void fillEntries(int32_t* colours, int32_t first, int32_t last, int32_t value);
