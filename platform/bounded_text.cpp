#include "platform/bounded_text.h"

#include <stdarg.h>
#include <string.h>

#include "platform/c_locale_format.h"

BoundedText::BoundedText(char* buffer, size_t capacity)
    : buffer_(buffer), capacity_(capacity), length_(0), complete_(true) {
  buffer_[0] = '\0';
}

bool BoundedText::append(const char* format, ...) {
  if (!complete_) return false;
  size_t room = capacity_ - length_;
  va_list arguments;
  va_start(arguments, format);
  int written = formatInCLocaleV(buffer_ + length_, room, format, arguments);
  va_end(arguments);
  if (written < 0 || static_cast<size_t>(written) >= room) {
    buffer_[length_] = '\0';
    complete_ = false;
    return false;
  }
  length_ += static_cast<size_t>(written);
  return true;
}

bool BoundedText::appendText(const char* text) {
  if (!complete_) return false;
  size_t size = strlen(text);
  if (size >= capacity_ - length_) {
    complete_ = false;
    return false;
  }
  memcpy(buffer_ + length_, text, size + 1);
  length_ += size;
  return true;
}
