// Fuzzes the hexadecimal conversion against the exact reference of
// hex_reference.h: any text, any length.

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "surface/hex_color_converter.h"
#include "tests/fuzz/hex_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The text ends at the first zero byte, as a C string does; it lives in
  // its own block so that a read past its end is caught.
  const void* zero = memchr(data, 0, size);
  const size_t length =
      zero != nullptr ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - data) : size;
  char* text = static_cast<char*>(malloc(length + 1));
  if (length > 0) memcpy(text, data, length);
  text[length] = '\0';
  const int32_t value = hexToDecimal(text);
  const int32_t expected = fuzzhost::referenceHexValue(text, length);
  if (value != expected) {
    fprintf(stderr, "hexToDecimal(\"%.300s\") = %d, expected %d\n", text, value, expected);
    abort();
  }
  free(text);
  return 0;
}
