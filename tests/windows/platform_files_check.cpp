// Checks the Windows side of the platform layer that the plug-in writes its
// header file and numbers with: file names compare without case and by the
// identity of an existing file, a replaced text file holds CR LF line ends
// and nothing else, no other file changes or stays behind, a read-only file
// and a hard link are respected, and numbers keep a decimal point while the
// process runs under a German locale.
//
//   platform_files_check [FULL]
//
// FULL names a device on which every write fails, as on a full disk: then
// writing a text file there must be reported as failed, however the runtime's
// close reports it. Works in the current folder. Prints one line per failed check and a
// closing count; exits nonzero when a check failed. Built for Windows only,
// with the C runtime alone.

#include <locale.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "platform/c_locale_format.h"
#include "platform/text_file.h"
#include "tests/windows/check_count.h"

extern "C" {
// kernel32, for setting up the checks' files.
__declspec(dllimport) int __stdcall SetFileAttributesA(const char* name, unsigned long attributes);
__declspec(dllimport) int __stdcall CreateHardLinkA(const char* name, const char* existingName,
                                                    void* security);
__declspec(dllimport) void* __stdcall FindFirstFileA(const char* pattern, void* found);
__declspec(dllimport) int __stdcall FindClose(void* search);
__declspec(dllimport) int __stdcall CreateDirectoryA(const char* name, void* security);
__declspec(dllimport) int __stdcall RemoveDirectoryA(const char* name);
}

namespace {

constexpr unsigned long kAttributeReadOnly = 0x1;
constexpr unsigned long kAttributeNormal = 0x80;

const char kFileName[] = "platform_files_check.txt";

// The whole content of `name`, read in binary mode, in `buffer`; its length,
// or -1 when the file cannot be read.
long readBinary(const char* name, char* buffer, size_t size) {
  FILE* file = fopen(name, "rb");
  if (file == nullptr) return -1;
  size_t length = fread(buffer, 1, size - 1, file);
  fclose(file);
  buffer[length] = '\0';
  return static_cast<long>(length);
}

// Whether a file matching `pattern` exists in the current folder.
bool anyFile(const char* pattern) {
  alignas(8) char found[512];  // WIN32_FIND_DATAA, 320 bytes
  void* search = FindFirstFileA(pattern, found);
  if (search == reinterpret_cast<void*>(static_cast<intptr_t>(-1))) return false;
  FindClose(search);
  return true;
}

void writeBinary(const char* name, const char* text) {
  FILE* file = fopen(name, "wb");
  if (file == nullptr) return;
  fputs(text, file);
  fclose(file);
}

void checkNames(CheckCount& count) {
  writeBinary(kFileName, "x");
  writeBinary("platform_files_other.txt", "y");
  remove("platform_files_link.txt");
  count.check(CreateHardLinkA("platform_files_link.txt", kFileName, nullptr) != 0, "a hard link");
  struct Case {
    const char* first;
    const char* second;
    bool same;
  };
  const Case cases[] = {
      {"C:\\data\\brain.TXT", "C:\\data\\brain.txt", true},
      {"Brain.Txt", "bRAIN.tXT", true},
      {"brain.txt", "brain.srf", false},
      {"C:\\data\\brain.txt", "C:\\data2\\brain.txt", false},
      // One existing file under other names.
      {kFileName, ".\\platform_files_check.txt", true},
      {kFileName, "no_such_folder\\..\\platform_files_check.txt", true},
      {kFileName, "platform_files_link.txt", true},
      {kFileName, "platform_files_other.txt", false},
      {"missing.txt", ".\\missing.txt", false},
  };
  for (const Case& c : cases) {
    count.check(namesSameFile(c.first, c.second) == c.same, c.first);
  }
}

void checkReplacement(CheckCount& count) {
  char content[256];
  count.check(replaceTextFile(kFileName, "old content, longer\n", 20), "first write");
  count.check(replaceTextFile(kFileName, "a\nb\n", 4), "replacement");
  count.check(
      readBinary(kFileName, content, sizeof(content)) == 6 && strcmp(content, "a\r\nb\r\n") == 0,
      "text mode: CR LF line ends, the old content gone");
  count.check(!anyFile("fkt*.tmp"), "no temporary file stays");
  count.check(!replaceTextFile("no_such_folder\\x.txt", "a\n", 2), "a missing folder fails");
  count.check(!replaceTextFile(".", "a\n", 2), "a folder is no text file");

  // A user's file of a name a temporary file once had stays as it is.
  writeBinary("platform_files_check.txt.partial", "mine");
  count.check(replaceTextFile(kFileName, "c\n", 2), "replaced beside a user's file");
  count.check(readBinary("platform_files_check.txt.partial", content, sizeof(content)) == 4 &&
                  strcmp(content, "mine") == 0,
              "the user's file is as it was");
  remove("platform_files_check.txt.partial");

  // Read-only: left as it is, and the failure reported.
  count.check(SetFileAttributesA(kFileName, kAttributeReadOnly) != 0, "made read-only");
  count.check(!replaceTextFile(kFileName, "d\n", 2), "a read-only file is not replaced");
  count.check(readBinary(kFileName, content, sizeof(content)) == 3 && strcmp(content, "c\r\n") == 0,
              "a read-only file keeps its content");
  SetFileAttributesA(kFileName, kAttributeNormal);

  // A hard link is written in place, so that both names keep one file.
  remove("platform_files_link.txt");
  count.check(CreateHardLinkA("platform_files_link.txt", kFileName, nullptr) != 0, "a hard link");
  count.check(replaceTextFile(kFileName, "e\n", 2), "a file of two names replaced");
  count.check(readBinary("platform_files_link.txt", content, sizeof(content)) == 3 &&
                  strcmp(content, "e\r\n") == 0,
              "the other name shows the new content");
  count.check(namesSameFile(kFileName, "platform_files_link.txt"), "the hard link is not split");
  remove("platform_files_link.txt");
  remove(kFileName);

  // A path of 256 characters, close to MAX_PATH: where no temporary name
  // fits beside it, the file is written in place.
  char folder[251];
  memset(folder, 'f', sizeof(folder) - 1);
  folder[sizeof(folder) - 1] = '\0';
  char longName[sizeof(folder) + 6];
  snprintf(longName, sizeof(longName), "%s\\a.txt", folder);
  CreateDirectoryA(folder, nullptr);
  count.check(replaceTextFile(longName, "f\n", 2), "a path near MAX_PATH");
  count.check(readBinary(longName, content, sizeof(content)) == 3 && strcmp(content, "f\r\n") == 0,
              "a path near MAX_PATH holds the text");
  remove(longName);
  RemoveDirectoryA(folder);
}

void checkNumbers(CheckCount& count) {
  const char* const names[] = {"German", "de-DE", "German_Germany.1252"};
  bool german = false;
  for (const char* name : names) {
    if (!german && setlocale(LC_ALL, name) != nullptr) german = true;
  }
  count.check(german, "the runtime knows a German locale");
  char plain[32];
  snprintf(plain, sizeof(plain), "%.1f", 1.5);
  count.check(strcmp(plain, "1,5") == 0, "the German locale writes a decimal comma");
  char text[32];
  count.check(formatInCLocale(text, sizeof(text), "%f|%d", 128.0, -7) == 13 &&
                  strcmp(text, "128.000000|-7") == 0,
              "formatInCLocale writes a decimal point");
  snprintf(plain, sizeof(plain), "%.1f", 2.5);
  count.check(strcmp(plain, "2,5") == 0, "the process's locale stays German");
  count.check(formatInCLocale(text, 5, "%f", 1.5) == -1 && strcmp(text, "1.50") == 0,
              "a text that does not fit is cut and reported");
  setlocale(LC_ALL, "C");
}

void checkFullDisk(CheckCount& count, const char* full) {
  char text[1000];
  memset(text, 'x', sizeof(text));
  count.check(!writeNewTextFile(full, text, sizeof(text)), "a full disk is a failed write");
}

}  // namespace

int main(int argc, char** argv) {
  CheckCount count;
  if (argc > 1) {
    checkFullDisk(count, argv[1]);
    return count.finish();
  }
  checkNames(count);
  remove("platform_files_link.txt");
  remove("platform_files_other.txt");
  checkReplacement(count);
  checkNumbers(count);
  return count.finish();
}
