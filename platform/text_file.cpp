#include "platform/text_file.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

const char* const kTemporaryFileSuffix = ".partial";

bool writeNewTextFile(const char* name, const char* text, size_t size) {
  FILE* file = fopen(name, "w");
  if (file == nullptr) return false;
  bool written = fwrite(text, 1, size, file) == size;
  written = fflush(file) == 0 && written;
  written = ferror(file) == 0 && written;
  written = fclose(file) == 0 && written;
  return written;
}

bool replaceTextFile(const char* name, const char* text, size_t size) {
  const size_t nameLength = strlen(name);
  const size_t suffixSize = strlen(kTemporaryFileSuffix) + 1;
  char* temporaryName = static_cast<char*>(malloc(nameLength + suffixSize));
  if (temporaryName == nullptr) return false;
  memcpy(temporaryName, name, nameLength);
  memcpy(temporaryName + nameLength, kTemporaryFileSuffix, suffixSize);
  bool replaced = writeNewTextFile(temporaryName, text, size) && moveFileOver(temporaryName, name);
  if (!replaced) remove(temporaryName);
  free(temporaryName);
  return replaced;
}
