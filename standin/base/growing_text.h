#pragma once

// A growable, always zero-terminated text on the C heap, for the stand-in
// host's trace lines, log, file contents and answers.

#include <stdarg.h>
#include <stddef.h>
#include <stdio.h>

namespace standin {

class GrowingText {
 public:
  GrowingText() = default;
  ~GrowingText();
  GrowingText(const GrowingText&) = delete;
  GrowingText& operator=(const GrowingText&) = delete;

  // Each append ends the process with a message when memory runs out: the
  // stand-in is a test tool, and a half-written trace would mislead.
  void append(const char* text);
  void append(const char* text, size_t length);
  void appendChar(char character);
  void appendFormat(const char* format, ...);
  void appendFormatList(const char* format, va_list arguments);

  // The text so far; "" before anything was appended.
  const char* text() const { return data_ != nullptr ? data_ : ""; }
  size_t length() const { return length_; }
  bool empty() const { return length_ == 0; }

  void clear();
  // Drops everything from `length` on (no effect past the end).
  void truncate(size_t length);

 private:
  void reserve(size_t extra);

  char* data_ = nullptr;
  size_t length_ = 0;
  size_t capacity_ = 0;
};

// Reads one line from `file` into `line` (without its line feed and without
// a carriage return before it). Returns false at the end of the input with
// nothing read.
bool readLine(FILE* file, GrowingText* line);

// Reads the whole file at `path` (binary) into `contents`. Returns false
// when it cannot be opened or read.
bool readFile(const char* path, GrowingText* contents);

// Writes `text` into all `size` bytes of `out`, as strncpy does and as a
// host may write a buffer it was told the size of: at most `size`
// characters and zeros after them, so a text of `size` characters or more
// leaves no terminator. Null `text` writes "". Returns the characters
// written.
size_t copyBounded(char* out, size_t size, const char* text);

}  // namespace standin
