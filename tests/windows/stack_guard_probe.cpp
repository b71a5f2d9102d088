// A test DLL built with the compiler flags and startup code of Facetkit.dll,
// whose one job is to overrun a stack buffer when asked, so that a test can
// see the stack cookie stop the process. It also tells its cookie, so that
// two processes can be seen to get different ones.

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "platform/export.h"

extern "C" {
// The DLL's stack cookie, defined by the startup code.
extern uintptr_t __security_cookie;

// Returns this DLL's stack cookie as its entry point set it.
FACETKIT_EXPORT uint64_t stackCookie() {
  return __security_cookie;
}

// Copies `length` bytes of `text` into a 16-byte buffer on the stack -- past
// its end when `length` is above 16, on purpose -- and returns the sum of the
// bytes that fit. With the stack cookie in place it never returns after an
// overrun.
FACETKIT_EXPORT int copyIntoStackBuffer(const char* text, size_t length) {
  char buffer[16];
  memcpy(buffer, text, length);
  int sum = 0;
  for (size_t index = 0; index < length && index < sizeof(buffer); ++index) sum += buffer[index];
  return sum;
}
}
