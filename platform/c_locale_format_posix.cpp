#include <locale.h>
#include <stdio.h>

#include "platform/c_locale_format.h"

int formatInCLocaleV(char* buffer, size_t size, const char* format, va_list arguments) {
  buffer[0] = '\0';
  // The C library hands out one shared object for "C", so making it for each
  // call takes no memory.
  const locale_t noLocale = static_cast<locale_t>(0);
  locale_t locale = newlocale(LC_ALL_MASK, "C", noLocale);
  if (locale == noLocale) return -1;
  // Only this thread's locale changes, and only around the one call.
  int written = -1;
  locale_t previous = uselocale(locale);
  if (previous != noLocale) {
    written = vsnprintf(buffer, size, format, arguments);
    uselocale(previous);
  }
  freelocale(locale);
  if (written < 0 || static_cast<size_t>(written) >= size) return -1;
  return written;
}
