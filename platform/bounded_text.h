#pragma once

// Appends formatted pieces to a caller-owned buffer without ever writing past
// it. A piece that does not fit is dropped whole and ends the building: the
// buffer then holds every piece before it, still zero-terminated. Numbers are
// written as in the "C" locale, whatever locale the process has set.

#include <stddef.h>

class BoundedText {
 public:
  // `buffer` must hold at least one byte; it is emptied.
  BoundedText(char* buffer, size_t capacity);

  // Appends the printf-style `format`. Returns false, leaving the text as it
  // was, when the piece fails to format or does not fit, and from then on.
  bool append(const char* format, ...);

  // Appends `text` unchanged; same result as append.
  bool appendText(const char* text);

  size_t length() const { return length_; }
  bool complete() const { return complete_; }

 private:
  char* buffer_;
  size_t capacity_;
  size_t length_;
  bool complete_;
};
