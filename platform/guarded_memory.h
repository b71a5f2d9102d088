#pragma once

// Memory that ends at a page which can be neither read nor written, so that
// an access just past its end faults at once, in every build, sanitizers or
// not, natively and on Windows. The stand-in host hands such arrays to the
// plug-in, so that a plug-in writing past what the host gave it is seen.

#include <stddef.h>

// Returns `bytes` zeroed bytes whose end is the start of an unreadable page,
// or null when memory runs out. Zero bytes give the address of that page
// itself, never null. The end is page-aligned, so the start of an array is
// aligned for its elements.
void* allocateGuarded(size_t bytes);

// Gives back memory that allocateGuarded returned. Null is ignored.
void releaseGuarded(void* memory);
