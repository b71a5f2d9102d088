#include "platform/c_locale_format.h"

int formatInCLocale(char* buffer, size_t size, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  int written = formatInCLocaleV(buffer, size, format, arguments);
  va_end(arguments);
  return written;
}
