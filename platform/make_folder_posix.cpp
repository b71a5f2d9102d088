#include <sys/stat.h>

#include "platform/make_folder.h"

bool makeFolder(const char* path) {
  return mkdir(path, 0777) == 0;
}
