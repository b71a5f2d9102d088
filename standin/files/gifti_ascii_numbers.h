#pragma once

// Numbers of GIfTI ASCII data, read as the GIfTI library read them (strtod
// and strtoll, then a cast to the array's type) but without its cost: the
// common short numbers are read exactly by hand, the others by the C
// runtime from a bounded copy.

#include <stdint.h>

namespace standin {

// Reads the number that is all of [begin, end) as strtod reads it. Returns
// false when it is not one number, white space before it included.
bool readAsciiFloat(const char* begin, const char* end, double* value);

// Reads the integer that is all of [begin, end) as strtoll (`isSigned`) or
// strtoull read it, as the bits of a uint64_t. Returns false when it is not
// one integer, white space before it included.
bool readAsciiInteger(const char* begin, const char* end, bool isSigned, uint64_t* bits);

// A double as the nearest float, ties to even, as IEEE arithmetic rounds
// it: up to half a step beyond FLT_MAX still gives FLT_MAX, further is
// infinite. The GIfTI library's FLOAT32 ASCII values were so rounded.
float roundedToFloat(double value);

// A double as a float, infinite beyond a float's range (no coordinate
// either way), never an undefined conversion.
float narrowedToFloat(double value);

}  // namespace standin
