#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include "platform/text_file.h"

bool namesSameFile(const char* first, const char* second) {
  if (strcmp(first, second) == 0) return true;
  // Links, "./" and folders on file systems that ignore case give one file
  // several names: compare what the names reach.
  struct stat firstFile;
  struct stat secondFile;
  if (stat(first, &firstFile) != 0 || stat(second, &secondFile) != 0) return false;
  return firstFile.st_dev == secondFile.st_dev && firstFile.st_ino == secondFile.st_ino;
}

bool moveFileOver(const char* from, const char* to) {
  return rename(from, to) == 0;
}
