#include "platform/text_file.h"

bool writeTextAndClose(FILE* file, const char* text, size_t size) {
  bool written = fwrite(text, 1, size, file) == size;
  written = fflush(file) == 0 && written;
  written = ferror(file) == 0 && written;
  written = fclose(file) == 0 && written;
  return written;
}

bool writeNewTextFile(const char* name, const char* text, size_t size) {
  FILE* file = fopen(name, "w");
  return file != nullptr && writeTextAndClose(file, text, size);
}
