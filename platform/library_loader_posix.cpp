// The stand-in host's loader over dlopen, for Linux and other POSIX systems.

#include "platform/library_loader.h"

#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

const char* const kPluginLibraryFileName = "libFacetkit.so";
const char* const kLibraryFilePrefix = "lib";
const char* const kLibraryFileSuffix = ".so";

namespace {

const char* lastError = "";

}  // namespace

LibraryHandle openLibrary(const char* path) {
  lastError = "";
  if (path == nullptr) return nullptr;
  // dlopen searches the system's library folders for a bare file name; the
  // host means the current folder, as a path does everywhere else.
  LibraryHandle library = nullptr;
  if (strchr(path, '/') != nullptr) {
    library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  } else {
    size_t length = strlen(path);
    char* relative = static_cast<char*>(malloc(length + 3));
    if (relative == nullptr) {
      lastError = "out of memory";
      return nullptr;
    }
    memcpy(relative, "./", 2);
    memcpy(relative + 2, path, length + 1);
    library = dlopen(relative, RTLD_NOW | RTLD_LOCAL);
    free(relative);
  }
  if (library == nullptr) {
    const char* reason = dlerror();
    lastError = reason != nullptr ? reason : "unknown reason";
  }
  return library;
}

LibrarySymbol findLibrarySymbol(LibraryHandle library, const char* name) {
  if (library == nullptr || name == nullptr) return nullptr;
  void* address = dlsym(library, name);
  LibrarySymbol symbol = nullptr;
  static_assert(sizeof(symbol) == sizeof(address), "code and data addresses differ in size");
  memcpy(&symbol, &address, sizeof(symbol));
  return symbol;
}

void closeLibrary(LibraryHandle library) {
  if (library != nullptr) dlclose(library);
}

const char* libraryError() {
  return lastError;
}

bool executableFolder(char* folder, size_t size) {
  if (folder == nullptr || size == 0) return false;
  folder[0] = '\0';
  if (size < 2) return false;
  ssize_t length = readlink("/proc/self/exe", folder, size - 1);
  if (length <= 0 || static_cast<size_t>(length) >= size - 1) {
    folder[0] = '\0';
    return false;
  }
  folder[length] = '\0';
  char* slash = strrchr(folder, '/');
  if (slash == nullptr) {
    folder[0] = '\0';
    return false;
  }
  slash[1] = '\0';
  return true;
}

bool currentFolder(char* folder, size_t size) {
  if (folder == nullptr || size == 0) return false;
  folder[0] = '\0';
  // Room is kept for the closing separator.
  if (size < 3 || getcwd(folder, size - 1) == nullptr) {
    folder[0] = '\0';
    return false;
  }
  size_t length = strlen(folder);
  if (length == 0 || folder[length - 1] != '/') {
    folder[length] = '/';
    folder[length + 1] = '\0';
  }
  return true;
}

bool folderExists(const char* path) {
  struct stat status;
  return path != nullptr && path[0] != '\0' && stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}
