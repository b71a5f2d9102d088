#include <locale.h>
#include <stdio.h>

#include "platform/c_locale_format.h"

namespace {

// The "C" locale object, made on first use and freed when the library is
// unloaded. The runtime's formatting functions take it per call, so neither
// the process's nor the thread's locale is touched.
class CLocale {
 public:
  CLocale() : locale_(nullptr) {}
  ~CLocale() {
    if (locale_ != nullptr) _free_locale(locale_);
  }
  CLocale(const CLocale&) = delete;
  CLocale& operator=(const CLocale&) = delete;

  _locale_t get() {
    if (locale_ == nullptr) locale_ = _create_locale(LC_ALL, "C");
    return locale_;
  }

 private:
  _locale_t locale_;
};

CLocale cLocale;

}  // namespace

int formatInCLocaleV(char* buffer, size_t size, const char* format, va_list arguments) {
  buffer[0] = '\0';
  _locale_t locale = cLocale.get();
  if (locale == nullptr) return -1;
  // What vsnprintf itself calls, with the locale given: C99 behaviour, the
  // text cut at the buffer's end and always zero-terminated.
  int written = __stdio_common_vsprintf(
      _CRT_INTERNAL_LOCAL_PRINTF_OPTIONS | _CRT_INTERNAL_PRINTF_STANDARD_SNPRINTF_BEHAVIOR, buffer,
      size, format, locale, arguments);
  if (written < 0 || static_cast<size_t>(written) >= size) {
    buffer[size - 1] = '\0';
    return -1;
  }
  return written;
}
