#include <string.h>

#include "platform/text_file.h"

extern "C" {
// kernel32: moves `existingName` to `newName`, replacing an existing file
// when `flags` holds MOVEFILE_REPLACE_EXISTING. Nonzero on success.
__declspec(dllimport) int __stdcall MoveFileExA(const char* existingName, const char* newName,
                                                unsigned long flags);
}

namespace {

constexpr unsigned long kMoveFileReplaceExisting = 0x1;

}  // namespace

bool namesSameFile(const char* first, const char* second) {
  // Windows file names compare without case: "brain.TXT" is "brain.txt".
  return _stricmp(first, second) == 0;
}

bool moveFileOver(const char* from, const char* to) {
  return MoveFileExA(from, to, kMoveFileReplaceExisting) != 0;
}
