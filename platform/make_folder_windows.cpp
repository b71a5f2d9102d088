#include <direct.h>

#include "platform/make_folder.h"

bool makeFolder(const char* path) {
  return _mkdir(path) == 0;
}
