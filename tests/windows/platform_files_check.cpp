// Checks the Windows side of the platform layer that the plug-in writes its
// header file and numbers with: file names compare without case, a replaced
// text file holds CR LF line ends and nothing else, and numbers keep a
// decimal point while the process runs under a German locale.
//
//   platform_files_check [FULL]
//
// FULL names a device on which every write fails, as on a full disk: then
// writing a text file there must be reported as failed, however the runtime's
// close reports it. Works in the current folder. Prints one line per failed check and a
// closing count; exits nonzero when a check failed. Built for Windows only,
// with the C runtime alone.

#include <locale.h>
#include <stdio.h>
#include <string.h>

#include "platform/c_locale_format.h"
#include "platform/text_file.h"
#include "tests/windows/check_count.h"

namespace {

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

bool exists(const char* name) {
  FILE* file = fopen(name, "rb");
  if (file == nullptr) return false;
  fclose(file);
  return true;
}

void checkNames(CheckCount& count) {
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
  char partial[sizeof(kFileName) + 16];
  snprintf(partial, sizeof(partial), "%s%s", kFileName, kTemporaryFileSuffix);
  count.check(!exists(partial), "no temporary file stays");
  count.check(!replaceTextFile("no_such_folder\\x.txt", "a\n", 2), "a missing folder fails");
  remove(kFileName);
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
  checkReplacement(count);
  checkNumbers(count);
  return count.finish();
}
