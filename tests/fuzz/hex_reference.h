#pragma once

// An exact reference for the hexadecimal conversion that takes another route
// than the plug-in: the value exceeds the largest int32_t as soon as any
// counted digit other than '0' stands at position 8 or above (16^8 > 2^31),
// and otherwise is what the C library's strtoul reads from the last eight
// characters, each character that is no digit ('0'-'9', 'A'-'F') read as '0'.

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

namespace fuzzhost {

inline bool countedDigit(char character) {
  return (character >= '0' && character <= '9') || (character >= 'A' && character <= 'F');
}

inline int32_t referenceHexValue(const char* text, size_t length) {
  const size_t lowPositions = 8;
  for (size_t position = lowPositions; position < length; ++position) {
    char character = text[length - 1 - position];
    if (countedDigit(character) && character != '0') return INT32_MIN;
  }
  char low[lowPositions + 1] = "00000000";
  const size_t taken = length < lowPositions ? length : lowPositions;
  for (size_t index = 0; index < taken; ++index) {
    char character = text[length - taken + index];
    low[lowPositions - taken + index] = countedDigit(character) ? character : '0';
  }
  unsigned long value = strtoul(low, nullptr, 16);
  return value > 0x7FFFFFFFul ? INT32_MIN : static_cast<int32_t>(value);
}

}  // namespace fuzzhost
