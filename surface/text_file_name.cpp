#include "surface/text_file_name.h"

#include <stdlib.h>
#include <string.h>

const char* const kTwoQuotes = "''";

namespace {

// The base is never longer than the name, so the name's length would do;
// the buffer has always been this much larger, and the base, zero-filled
// behind it, is the same either way.
constexpr size_t kBaseBufferExtraBytes = 4;

}  // namespace

const char* nameOrTwoQuotes(const char* fileName) {
  return fileName == nullptr || fileName[0] == '\0' ? kTwoQuotes : fileName;
}

size_t extensionStart(const char* fileName) {
  size_t length = strlen(fileName);
  size_t base = length;
  for (size_t index = length; index > 0; --index) {
    char character = fileName[index - 1];
    if (character == '\\' || character == '/') break;
    if (character == '.') {
      base = index - 1;
      break;
    }
  }
  return base;
}

char* stripExtension(const char* fileName) {
  fileName = nameOrTwoQuotes(fileName);
  const size_t length = strlen(fileName);
  char* base = static_cast<char*>(calloc(length + kBaseBufferExtraBytes, 1));
  if (base == nullptr) return nullptr;
  memcpy(base, fileName, extensionStart(fileName));
  return base;
}

char* replaceExtension(const char* fileName, const char* suffix) {
  char* base = stripExtension(fileName);
  if (base == nullptr) return nullptr;
  const size_t baseSize = strlen(base);
  const size_t suffixSize = strlen(suffix);
  char* name = static_cast<char*>(malloc(baseSize + suffixSize + 1));
  if (name != nullptr) {
    memcpy(name, base, baseSize);
    memcpy(name + baseSize, suffix, suffixSize + 1);
  }
  free(base);
  return name;
}
