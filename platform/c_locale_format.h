#pragma once

// printf-style formatting that always writes numbers the way the "C" locale
// does (a decimal point, no grouping), whatever locale the host process or
// its thread has set. The process's locale is never changed, not even for
// the time of a call.

#include <stdarg.h>
#include <stddef.h>

// Formats `format` with `arguments` into `buffer` of `size` bytes (at least
// one). Returns the length of the text when all of it fit; -1 when it did not
// fit or could not be formatted, the buffer then holding a text cut at its
// end, still zero-terminated.
int formatInCLocaleV(char* buffer, size_t size, const char* format, va_list arguments);

// The same with the arguments given directly.
int formatInCLocale(char* buffer, size_t size, const char* format, ...);
