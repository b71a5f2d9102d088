#include "standin/files/gifti_library.h"

#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

namespace standin {

namespace {

// Attribute values of early GIfTI writers (gifticlib before 1.0 among
// them), with the names that libgiftiio reads.
const char* const kLegacyValues[][2] = {
    {"\"GIFTI_ENCODING_ASCII\"", "\"ASCII\""},
    {"\"GIFTI_ENCODING_B64BIN\"", "\"Base64Binary\""},
    {"\"GIFTI_ENCODING_B64GZ\"", "\"GZipBase64Binary\""},
    {"\"GIFTI_ENDIAN_LITTLE\"", "\"LittleEndian\""},
    {"\"GIFTI_ENDIAN_BIG\"", "\"BigEndian\""},
};

int openNull() {
  FILE* sink = fopen("/dev/null", "w");
  if (sink == nullptr) return -1;
  int descriptor = dup(fileno(sink));
  fclose(sink);
  return descriptor;
}

}  // namespace

QuietStandardError::QuietStandardError() {
  fflush(stderr);
  saved_ = dup(2);
  int sink = openNull();
  if (saved_ >= 0 && sink >= 0) dup2(sink, 2);
  if (sink >= 0) close(sink);
}

QuietStandardError::~QuietStandardError() {
  if (saved_ < 0) return;
  fflush(stderr);
  dup2(saved_, 2);
  close(saved_);
}

GiftiImage::~GiftiImage() {
  if (image == nullptr) return;
  QuietStandardError quiet;
  gifti_free_image(image);
}

bool moderniseGiftiValues(const GrowingText& contents, GrowingText* out) {
  bool replaced = false;
  const char* text = contents.text();
  size_t size = contents.length();
  size_t at = 0;
  while (at < size) {
    bool matched = false;
    if (text[at] == '"') {
      for (const auto& pair : kLegacyValues) {
        size_t length = strlen(pair[0]);
        if (length <= size - at && memcmp(text + at, pair[0], length) == 0) {
          out->append(pair[1]);
          at += length;
          matched = replaced = true;
          break;
        }
      }
    }
    if (!matched) out->appendChar(text[at++]);
  }
  return replaced;
}

TemporaryFile::~TemporaryFile() {
  if (path_[0] != '\0') remove(path_);
}

bool TemporaryFile::write(const GrowingText& contents) {
  const char* folder = getenv("TMPDIR");
  int length = snprintf(path_, sizeof(path_), "%s/zandrovix-gifti-XXXXXX",
                        folder != nullptr && folder[0] != '\0' ? folder : "/tmp");
  if (length < 0 || static_cast<size_t>(length) >= sizeof(path_)) {
    path_[0] = '\0';
    return false;
  }
  int descriptor = mkstemp(path_);
  if (descriptor < 0) {
    path_[0] = '\0';
    return false;
  }
  FILE* file = fdopen(descriptor, "wb");
  if (file == nullptr) {
    close(descriptor);
    return false;
  }
  bool written = fwrite(contents.text(), 1, contents.length(), file) == contents.length();
  return fclose(file) == 0 && written;
}

bool namesExternalFile(const unsigned char* data, size_t size) {
  static const char kAttribute[] = "ExternalFileName";
  const size_t length = sizeof(kAttribute) - 1;
  for (size_t at = 0; at + length <= size; ++at) {
    if (memcmp(data + at, kAttribute, length) != 0) continue;
    size_t next = at + length;
    while (next < size && (data[next] == ' ' || data[next] == '\t' || data[next] == '\r' ||
                           data[next] == '\n' || data[next] == '='))
      ++next;
    if (next + 1 < size && (data[next] == '"' || data[next] == '\'') &&
        data[next + 1] == data[next]) {
      continue;
    }
    return true;
  }
  return false;
}

bool survivesInChild(void (*work)(void*), void* context) {
  fflush(nullptr);
  pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    // A crash must end the child by its signal, also where a sanitizer
    // or fuzzer has installed handlers of its own.
    const int crashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
    for (int number : crashSignals) signal(number, SIG_DFL);
    QuietStandardError quiet;
    work(context);
    _exit(0);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

unsigned char colorByte(float component) {
  if (!(component > 0.0f)) return 0;
  if (component >= 1.0f) return 255;
  return static_cast<unsigned char>(component * 255.0f + 0.5f);
}

}  // namespace standin
