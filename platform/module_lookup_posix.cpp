// GetModuleHandleA and GetProcAddress over the dynamic loader, so that the
// plug-in finds its host on Linux exactly as it does on Windows.

#include "platform/module_lookup.h"

#include <dlfcn.h>
#include <link.h>
#include <string.h>
#include <strings.h>
#include <unistd.h>

namespace {

const char* fileNameOf(const char* path) {
  const char* slash = strrchr(path, '/');
  return slash != nullptr ? slash + 1 : path;
}

bool mainProgramIs(const char* moduleName) {
  char path[4096];
  ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (length <= 0) return false;
  path[length] = '\0';
  return strcasecmp(fileNameOf(path), moduleName) == 0;
}

struct LibrarySearch {
  const char* moduleName;
  const char* path;
};

int matchLibrary(dl_phdr_info* info, size_t, void* data) {
  LibrarySearch* search = static_cast<LibrarySearch*>(data);
  if (info->dlpi_name == nullptr || info->dlpi_name[0] == '\0') return 0;
  if (strcasecmp(fileNameOf(info->dlpi_name), search->moduleName) != 0) return 0;
  search->path = info->dlpi_name;
  return 1;
}

// Whether `address` lies in the module that `module`, a handle of dlopen,
// stands for.
bool definedIn(void* module, void* address) {
  link_map* expected = nullptr;
  if (dlinfo(module, RTLD_DI_LINKMAP, &expected) != 0 || expected == nullptr) return false;
  Dl_info info;
  void* found = nullptr;
  if (dladdr1(address, &info, &found, RTLD_DL_LINKMAP) == 0) return false;
  return static_cast<link_map*>(found) == expected;
}

}  // namespace

extern "C" ModuleHandle GetModuleHandleA(const char* moduleName) {
  if (moduleName == nullptr) return dlopen(nullptr, RTLD_LAZY);
  if (mainProgramIs(moduleName)) return dlopen(nullptr, RTLD_LAZY);
  LibrarySearch search = {moduleName, nullptr};
  dl_iterate_phdr(matchLibrary, &search);
  if (search.path == nullptr) return nullptr;
  // Takes a handle without loading anything; the library stays loaded by
  // whoever loaded it, so the extra reference is given back at once.
  void* handle = dlopen(search.path, RTLD_LAZY | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);
  return handle;
}

extern "C" ProcAddress GetProcAddress(ModuleHandle module, const char* procName) {
  if (module == nullptr || procName == nullptr) return nullptr;
  void* address = dlsym(module, procName);
  // dlsym also searches the libraries that the module depends on (for the
  // main program, every library loaded into the global scope), while
  // GetProcAddress finds only what the module itself exports: an address
  // that lies in another library counts as missing.
  if (address == nullptr || !definedIn(module, address)) return nullptr;
  ProcAddress function = nullptr;
  static_assert(sizeof(function) == sizeof(address), "code and data addresses differ in size");
  memcpy(&function, &address, sizeof(function));
  return function;
}
