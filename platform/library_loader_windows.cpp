// The stand-in host's loader over kernel32's LoadLibraryA, for Windows. The
// few kernel32 functions it calls are declared here, so that no Windows
// header is needed.

#include "platform/library_loader.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "platform/module_lookup.h"

extern "C" {
// Loads the DLL `fileName` (and what it imports), or finds it already
// loaded, and returns its module; null on failure, with the reason in
// GetLastError.
FACETKIT_WINIMPORT ModuleHandle FACETKIT_WINAPI LoadLibraryA(const char* fileName);

// Drops one load of `module`; the DLL is unloaded with the last. Nonzero on
// success.
FACETKIT_WINIMPORT int FACETKIT_WINAPI FreeLibrary(ModuleHandle module);

// Copies the path of `module` (null: the running program) into `fileName`,
// `size` bytes; returns its length, or `size` when it was cut short.
FACETKIT_WINIMPORT unsigned long FACETKIT_WINAPI GetModuleFileNameA(ModuleHandle module,
                                                                    char* fileName,
                                                                    unsigned long size);

// Copies the full path of `fileName`, resolved against the current folder,
// into `fullName`, `size` bytes; returns its length, or the size it needs
// (terminator included) when it does not fit, or 0 on failure.
FACETKIT_WINIMPORT unsigned long FACETKIT_WINAPI GetFullPathNameA(const char* fileName,
                                                                  unsigned long size,
                                                                  char* fullName, char** filePart);

// Copies the current folder into `folder`, `size` bytes; returns its length,
// or the size it needs (terminator included) when it does not fit, or 0 on
// failure.
FACETKIT_WINIMPORT unsigned long FACETKIT_WINAPI GetCurrentDirectoryA(unsigned long size,
                                                                      char* folder);

// The attributes of the file or folder `fileName`, or 0xFFFFFFFF when it
// does not exist or cannot be reached.
FACETKIT_WINIMPORT unsigned long FACETKIT_WINAPI GetFileAttributesA(const char* fileName);

// The calling thread's last error code.
FACETKIT_WINIMPORT unsigned long FACETKIT_WINAPI GetLastError();

// Writes the system's text for error code `messageId` into `buffer`, `size`
// bytes; returns its length, 0 when there is none.
FACETKIT_WINIMPORT unsigned long FACETKIT_WINAPI
FormatMessageA(unsigned long flags, const void* source, unsigned long messageId,
               unsigned long languageId, char* buffer, unsigned long size, va_list* arguments);
}

const char* const kPluginLibraryFileName = "Facetkit.dll";
const char* const kLibraryFilePrefix = "";
const char* const kLibraryFileSuffix = ".dll";

namespace {

// FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS.
constexpr unsigned long kSystemMessage = 0x1000 | 0x200;
// Buffer sizes for paths and error texts, of the type kernel32 takes them in.
constexpr unsigned long kPathSize = 4096;
constexpr unsigned long kReasonSize = 400;
// GetFileAttributesA: no such file; the bit of a folder.
constexpr unsigned long kInvalidAttributes = 0xFFFFFFFF;
constexpr unsigned long kFolderAttribute = 0x10;

char lastError[512] = "";

void setError(const char* reason) {
  snprintf(lastError, sizeof(lastError), "%s", reason);
}

// The system's text for `code`, without its closing line end, and the code.
void setSystemError(unsigned long code) {
  char text[kReasonSize];
  unsigned long length =
      FormatMessageA(kSystemMessage, nullptr, code, 0, text, kReasonSize, nullptr);
  if (length >= kReasonSize) length = 0;
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                        text[length - 1] == ' ' || text[length - 1] == '.')) {
    --length;
  }
  text[length] = '\0';
  snprintf(lastError, sizeof(lastError), "%s (error %lu)",
           length > 0 ? text : "the system gives no reason", code);
}

}  // namespace

LibraryHandle openLibrary(const char* path) {
  lastError[0] = '\0';
  if (path == nullptr) return nullptr;
  // LoadLibraryA searches the system's folders for a relative path; the host
  // means the current folder, so the path is made absolute first. Forward
  // slashes become the separator that every Windows API accepts.
  char local[kPathSize];
  size_t length = strlen(path);
  if (length >= kPathSize) {
    setError("the path is too long");
    return nullptr;
  }
  for (size_t index = 0; index <= length; ++index) {
    local[index] = path[index] == '/' ? '\\' : path[index];
  }
  char full[kPathSize];
  unsigned long fullLength = GetFullPathNameA(local, kPathSize, full, nullptr);
  if (fullLength == 0) {
    setSystemError(GetLastError());
    return nullptr;
  }
  if (fullLength >= kPathSize) {
    setError("the full path is too long");
    return nullptr;
  }
  ModuleHandle library = LoadLibraryA(full);
  if (library == nullptr) setSystemError(GetLastError());
  return library;
}

LibrarySymbol findLibrarySymbol(LibraryHandle library, const char* name) {
  if (library == nullptr || name == nullptr) return nullptr;
  return GetProcAddress(library, name);
}

void closeLibrary(LibraryHandle library) {
  if (library != nullptr) FreeLibrary(library);
}

const char* libraryError() {
  return lastError;
}

bool executableFolder(char* folder, size_t size) {
  if (folder == nullptr || size == 0) return false;
  folder[0] = '\0';
  if (size < 2) return false;
  unsigned long capacity = size > kPathSize ? kPathSize : static_cast<unsigned long>(size);
  unsigned long length = GetModuleFileNameA(nullptr, folder, capacity);
  if (length == 0 || length >= capacity) {
    folder[0] = '\0';
    return false;
  }
  folder[length] = '\0';
  char* separator = nullptr;
  for (char* at = folder; *at != '\0'; ++at) {
    if (*at == '\\' || *at == '/') separator = at;
  }
  if (separator == nullptr) {
    folder[0] = '\0';
    return false;
  }
  separator[1] = '\0';
  return true;
}

bool currentFolder(char* folder, size_t size) {
  if (folder == nullptr || size == 0) return false;
  folder[0] = '\0';
  if (size < 3) return false;
  // Room is kept for the closing separator.
  unsigned long capacity = size - 1 > kPathSize ? kPathSize : static_cast<unsigned long>(size - 1);
  unsigned long length = GetCurrentDirectoryA(capacity, folder);
  if (length == 0 || length >= capacity) {
    folder[0] = '\0';
    return false;
  }
  if (folder[length - 1] != '\\' && folder[length - 1] != '/') {
    folder[length] = '\\';
    folder[length + 1] = '\0';
  }
  return true;
}

bool folderExists(const char* path) {
  if (path == nullptr || path[0] == '\0') return false;
  unsigned long attributes = GetFileAttributesA(path);
  return attributes != kInvalidAttributes && (attributes & kFolderAttribute) != 0;
}
