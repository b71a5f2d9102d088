#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "platform/text_file.h"

extern "C" {
// What GetFileInformationByHandle tells about an open file.
struct FileInformation {
  unsigned long attributes;
  unsigned long times[6];
  unsigned long volumeSerialNumber;
  unsigned long sizeHigh;
  unsigned long sizeLow;
  unsigned long numberOfLinks;
  unsigned long indexHigh;
  unsigned long indexLow;
};

// kernel32: moves `existingName` to `newName`, replacing an existing file
// when `flags` holds MOVEFILE_REPLACE_EXISTING. Nonzero on success.
__declspec(dllimport) int __stdcall MoveFileExA(const char* existingName, const char* newName,
                                                unsigned long flags);
// kernel32: the attributes of the file or folder `name`, or
// INVALID_FILE_ATTRIBUTES when it cannot be reached.
__declspec(dllimport) unsigned long __stdcall GetFileAttributesA(const char* name);
// kernel32: creates a new empty file "<prefix><hex>.tmp" in `folder`, which
// must leave room for that name within MAX_PATH, under a name no file had
// (with `unique` 0), and writes its name to `name` (MAX_PATH characters).
// Returns 0 on failure.
__declspec(dllimport) unsigned int __stdcall GetTempFileNameA(const char* folder,
                                                              const char* prefix,
                                                              unsigned int unique, char* name);
// kernel32: opens or creates `name`; INVALID_HANDLE_VALUE on failure. The
// handle is closed with CloseHandle.
__declspec(dllimport) void* __stdcall CreateFileA(const char* name, unsigned long access,
                                                  unsigned long share, void* security,
                                                  unsigned long disposition, unsigned long flags,
                                                  void* templateFile);
// kernel32: fills `information` for the open file `file`. Nonzero on success.
__declspec(dllimport) int __stdcall GetFileInformationByHandle(void* file,
                                                               FileInformation* information);
// kernel32: closes `object`. Nonzero on success.
__declspec(dllimport) int __stdcall CloseHandle(void* object);
}

namespace {

static_assert(sizeof(unsigned long) == 4, "DWORD is 32 bits");
static_assert(sizeof(FileInformation) == 52, "BY_HANDLE_FILE_INFORMATION");

constexpr unsigned long kMoveFileReplaceExisting = 0x1;
constexpr unsigned long kInvalidFileAttributes = 0xFFFFFFFF;
constexpr unsigned long kAttributeReadOnly = 0x1;
constexpr unsigned long kAttributeDirectory = 0x10;
constexpr unsigned long kShareAll = 0x1 | 0x2 | 0x4;  // read, write, delete
constexpr unsigned long kOpenExisting = 3;
constexpr size_t kMaxPath = 260;
// GetTempFileNameA uses three characters of it: "fkt<hex>.tmp".
const char kTemporaryPrefix[] = "fkt";

// Reads what identifies the existing file `name`. Returns false when it
// cannot be opened (it does not exist, or it is a folder).
bool identify(const char* name, FileInformation* information) {
  void* const invalidHandle = reinterpret_cast<void*>(static_cast<intptr_t>(-1));
  void* file = CreateFileA(name, 0, kShareAll, nullptr, kOpenExisting, 0, nullptr);
  if (file == invalidHandle) return false;
  const bool known = GetFileInformationByHandle(file, information) != 0;
  CloseHandle(file);
  return known;
}

// Writes the folder part of `name` ("." when it has none) to `folder`, of
// kMaxPath characters. Returns false when it does not fit.
bool folderOf(const char* name, char* folder) {
  size_t length = 0;
  for (size_t at = 0; name[at] != '\0'; ++at) {
    if (name[at] == '\\' || name[at] == '/' || name[at] == ':') length = at + 1;
  }
  if (length == 0) {
    memcpy(folder, ".", 2);
    return true;
  }
  if (length >= kMaxPath) return false;
  memcpy(folder, name, length);
  folder[length] = '\0';
  return true;
}

}  // namespace

bool replaceTextFile(const char* name, const char* text, size_t size) {
  const unsigned long attributes = GetFileAttributesA(name);
  if (attributes != kInvalidFileAttributes) {
    // A read-only file stays as it is, whoever runs the host: the user
    // clears the attribute to have it written.
    if ((attributes & (kAttributeReadOnly | kAttributeDirectory)) != 0) return false;
    FileInformation information;
    if (identify(name, &information) && information.numberOfLinks > 1) {
      return writeNewTextFile(name, text, size);
    }
  }
  char folder[kMaxPath];
  char temporaryName[kMaxPath];
  if (!folderOf(name, folder) ||
      GetTempFileNameA(folder, kTemporaryPrefix, 0, temporaryName) == 0) {
    // No temporary file beside it: no permission there, or a folder whose
    // name leaves no room for one within MAX_PATH.
    return writeNewTextFile(name, text, size);
  }
  FILE* file = fopen(temporaryName, "w");
  const bool replaced =
      file != nullptr && writeTextAndClose(file, text, size) && moveFileOver(temporaryName, name);
  if (!replaced) remove(temporaryName);
  return replaced;
}

bool namesSameFile(const char* first, const char* second) {
  // Windows file names compare without case: "brain.TXT" is "brain.txt".
  if (_stricmp(first, second) == 0) return true;
  // Trailing blanks and dots, short names, ".." and hard links give one
  // existing file other names: compare what the names reach.
  FileInformation firstFile;
  FileInformation secondFile;
  return identify(first, &firstFile) && identify(second, &secondFile) &&
         firstFile.volumeSerialNumber == secondFile.volumeSerialNumber &&
         firstFile.indexHigh == secondFile.indexHigh && firstFile.indexLow == secondFile.indexLow;
}

bool moveFileOver(const char* from, const char* to) {
  return MoveFileExA(from, to, kMoveFileReplaceExisting) != 0;
}
