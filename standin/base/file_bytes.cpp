#include "standin/base/file_bytes.h"

#include <stdio.h>

namespace standin {

FileWrite writeFileBytes(const char* path, const void* bytes, size_t length) {
  FILE* file = fopen(path, "wb");
  if (file == nullptr) return FileWrite::kNotCreated;
  bool written = fwrite(bytes, 1, length, file) == length;
  if (fflush(file) != 0) written = false;
  if (fclose(file) != 0) written = false;
  return written ? FileWrite::kWritten : FileWrite::kNotComplete;
}

}  // namespace standin
