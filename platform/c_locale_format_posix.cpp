#include <locale.h>
#include <stdio.h>

#include "platform/c_locale_format.h"

namespace {

// The "C" locale object, made on first use and freed when the library is
// unloaded. The C library hands out a shared object for "C", so getting it
// takes no memory.
class CLocale {
 public:
  CLocale() : locale_(static_cast<locale_t>(0)) {}
  ~CLocale() {
    if (locale_ != static_cast<locale_t>(0)) freelocale(locale_);
  }
  CLocale(const CLocale&) = delete;
  CLocale& operator=(const CLocale&) = delete;

  locale_t get() {
    if (locale_ == static_cast<locale_t>(0)) {
      locale_ = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    }
    return locale_;
  }

 private:
  locale_t locale_;
};

CLocale cLocale;

}  // namespace

int formatInCLocaleV(char* buffer, size_t size, const char* format, va_list arguments) {
  buffer[0] = '\0';
  locale_t locale = cLocale.get();
  if (locale == static_cast<locale_t>(0)) return -1;
  // Only this thread's locale changes, and only around the one call.
  locale_t previous = uselocale(locale);
  if (previous == static_cast<locale_t>(0)) return -1;
  int written = vsnprintf(buffer, size, format, arguments);
  uselocale(previous);
  if (written < 0 || static_cast<size_t>(written) >= size) return -1;
  return written;
}
