#include <errno.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "platform/text_file.h"

namespace {

// Temporary files are named "Facetkit-<16 hex digits>.tmp": short, so that
// one fits in any folder the text file fits in, whatever the length of the
// text file's own name, and telling a user who finds one after a crash what
// left it.
const char kTemporaryPrefix[] = "Facetkit-";
const char kTemporarySuffix[] = ".tmp";
constexpr size_t kTemporaryNameSize = sizeof(kTemporaryPrefix) - 1 + 16 + sizeof(kTemporarySuffix);
constexpr int kTemporaryNameTries = 64;

// A number that differs between processes, calls and tries.
uint64_t nextTemporaryNumber() {
  static uint64_t calls = 0;
  ++calls;
  const uint64_t process = static_cast<uint64_t>(getpid());
  const uint64_t now = static_cast<uint64_t>(time(nullptr));
  const uint64_t place = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(&calls));
  return (process << 40) ^ (now << 8) ^ (place >> 4) ^ (calls * 0x9E3779B97F4A7C15u);
}

// Creates a new file of a unique short name in the folder of `target`,
// exclusively, for writing, with the permissions a new file gets there.
// Returns its descriptor and its name in `*name` (the caller frees it), or
// -1 and sets `*noRoom` when this user may make no file in that folder or
// the folder's name leaves no room for the temporary name.
int createTemporaryBeside(const char* target, char** name, bool* noRoom) {
  *noRoom = false;
  const char* lastSlash = strrchr(target, '/');
  const size_t folderLength =
      lastSlash == nullptr ? 0 : static_cast<size_t>(lastSlash - target) + 1;
  char* temporary = static_cast<char*>(malloc(folderLength + kTemporaryNameSize));
  if (temporary == nullptr) return -1;
  memcpy(temporary, target, folderLength);
  for (int tries = 0; tries < kTemporaryNameTries; ++tries) {
    snprintf(temporary + folderLength, kTemporaryNameSize, "%s%016llx%s", kTemporaryPrefix,
             static_cast<unsigned long long>(nextTemporaryNumber()), kTemporarySuffix);
    const int file = open(temporary, O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    if (file >= 0) {
      *name = temporary;
      return file;
    }
    if (errno != EEXIST) {
      *noRoom = errno == EACCES || errno == EPERM || errno == ENAMETOOLONG;
      break;
    }
  }
  free(temporary);
  return -1;
}

// Gives the new file `file` the owner, group and permission bits of the
// existing file `existing`. Returns whether they are all kept: only root
// may give a file another owner, and others only a group of their own.
bool keepOwnerAndMode(int file, const struct stat& existing) {
  return fchown(file, existing.st_uid, existing.st_gid) == 0 &&
         fchmod(file, existing.st_mode & 07777) == 0;
}

// replaceTextFile for `target`, a name that is no symbolic link.
bool replaceFile(const char* target, const char* text, size_t size) {
  struct stat existing;
  const bool exists = stat(target, &existing) == 0;
  if (!exists && errno != ENOENT) return false;
  if (exists) {
    if (S_ISDIR(existing.st_mode)) return false;
    // A device is written as it is; a file of several names keeps them all.
    if (!S_ISREG(existing.st_mode) || existing.st_nlink > 1) {
      return writeNewTextFile(target, text, size);
    }
    // Checked with this process's own identity; for root only a read-only
    // file system refuses, as it would for the file itself.
    if (faccessat(AT_FDCWD, target, W_OK, AT_EACCESS) != 0) return false;
  }
  char* temporaryName = nullptr;
  bool noRoom = false;
  const int file = createTemporaryBeside(target, &temporaryName, &noRoom);
  if (file < 0) return noRoom && writeNewTextFile(target, text, size);
  if (exists && !keepOwnerAndMode(file, existing)) {
    // Only in place does the file keep an owner that this user cannot give.
    close(file);
    unlink(temporaryName);
    free(temporaryName);
    return writeNewTextFile(target, text, size);
  }
  FILE* stream = fdopen(file, "w");
  if (stream == nullptr) close(file);
  const bool replaced = stream != nullptr && writeTextAndClose(stream, text, size) &&
                        moveFileOver(temporaryName, target);
  if (!replaced) unlink(temporaryName);
  free(temporaryName);
  return replaced;
}

}  // namespace

bool replaceTextFile(const char* name, const char* text, size_t size) {
  struct stat entry;
  if (lstat(name, &entry) != 0 || !S_ISLNK(entry.st_mode)) return replaceFile(name, text, size);
  // The link stays; the file it leads to is replaced. A link that leads
  // nowhere yet makes that file, as opening the link would.
  char* target = realpath(name, nullptr);
  if (target == nullptr) return errno == ENOENT && writeNewTextFile(name, text, size);
  const bool replaced = replaceFile(target, text, size);
  free(target);
  return replaced;
}

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
