#include "standin/base/growing_text.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace standin {

namespace {

const char* const kOutOfMemory = "Zandrovix.exe: out of memory\n";

}  // namespace

GrowingText::~GrowingText() {
  free(data_);
}

void GrowingText::reserve(size_t extra) {
  if (extra < capacity_ - length_ && data_ != nullptr) return;
  size_t needed = length_ + extra + 1;
  if (needed <= length_) {
    fputs(kOutOfMemory, stderr);
    abort();
  }
  size_t capacity = capacity_ < 64 ? 64 : capacity_;
  while (capacity < needed) {
    if (capacity > static_cast<size_t>(-1) / 2) {
      capacity = needed;
      break;
    }
    capacity *= 2;
  }
  char* data = static_cast<char*>(realloc(data_, capacity));
  if (data == nullptr) {
    fputs(kOutOfMemory, stderr);
    abort();
  }
  data_ = data;
  capacity_ = capacity;
}

void GrowingText::append(const char* text) {
  if (text != nullptr) append(text, strlen(text));
}

void GrowingText::append(const char* text, size_t length) {
  reserve(length);
  if (length > 0) memcpy(data_ + length_, text, length);
  length_ += length;
  data_[length_] = '\0';
}

void GrowingText::appendChar(char character) {
  append(&character, 1);
}

void GrowingText::appendFormat(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  appendFormatList(format, arguments);
  va_end(arguments);
}

void GrowingText::appendFormatList(const char* format, va_list arguments) {
  va_list measure;
  va_copy(measure, arguments);
  int needed = vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (needed <= 0) return;
  size_t length = static_cast<size_t>(needed);
  reserve(length);
  vsnprintf(data_ + length_, length + 1, format, arguments);
  length_ += length;
}

void GrowingText::clear() {
  truncate(0);
}

void GrowingText::truncate(size_t length) {
  if (length >= length_) return;
  length_ = length;
  data_[length_] = '\0';
}

bool readLine(FILE* input, GrowingText* line) {
  line->clear();
  int character = fgetc(input);
  if (character == EOF) return false;
  while (character != EOF && character != '\n') {
    line->appendChar(static_cast<char>(character));
    character = fgetc(input);
  }
  if (line->length() > 0 && line->text()[line->length() - 1] == '\r') {
    line->truncate(line->length() - 1);
  }
  return true;
}

bool readFile(const char* path, GrowingText* contents) {
  contents->clear();
  FILE* file = fopen(path, "rb");
  if (file == nullptr) return false;
  char chunk[65536];
  size_t got = 0;
  while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0) contents->append(chunk, got);
  bool failed = ferror(file) != 0;
  fclose(file);
  return !failed;
}

size_t copyBounded(char* out, size_t size, const char* text) {
  if (out == nullptr) return 0;
  if (text == nullptr) text = "";
  size_t length = strnlen(text, size);
  memcpy(out, text, length);
  memset(out + length, 0, size - length);
  return length;
}

}  // namespace standin
